#include "views/ui/report_table_model.h"

#include "views/cell_colors.h"
#include "views/ui/rgb_color.h"

#include <QPainter>
#include <QTableView>

ReportTableModel::ReportTableModel(QObject* parent)
    : QAbstractTableModel(parent), table_(std::make_shared<const ReportTable>())
{
    for (int c = 0; c < ReportTable::kColumnCount; ++c)
        headers_[c] = ReportTable::headerText(c, kRelativeHumidity);
}

void ReportTableModel::setTable(std::shared_ptr<const ReportTable> table)
{
    beginResetModel();
    table_ = table ? std::move(table) : std::make_shared<const ReportTable>();
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_->rowCount() - 1);
}

int ReportTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ReportTable::kColumnCount;
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return table_->cellText(index.row() + 1, index.column());
    case Qt::TextAlignmentRole: {
        Qt::Alignment horizontal = Qt::AlignLeft;
        Qt::Alignment vertical = Qt::AlignVCenter;
        cellAlignment(index.row() + 1, index.column(), horizontal, vertical);
        return QVariant::fromValue(horizontal | vertical);
    }
    default:
        return {};
    }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ReportTable::kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return headers_[section];
    case Qt::TextAlignmentRole: {
        Qt::Alignment horizontal = Qt::AlignLeft;
        Qt::Alignment vertical = Qt::AlignVCenter;
        cellAlignment(0, section, horizontal, vertical);
        return QVariant::fromValue(horizontal | vertical);
    }
    default:
        return {};
    }
}

bool ReportTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ReportTable::kColumnCount
        || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const
{
    // Cells can be chosen but never edited.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

ReportCellPainter::ReportCellPainter(QTableView* view, const ReportTableModel* model)
    : QStyledItemDelegate(view), view_(view), model_(model)
{
}

void ReportCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    const QPalette& palette = option.palette;
    CellStyle style{RgbOf(palette.color(QPalette::Active, QPalette::Base)),
                    RgbOf(palette.color(QPalette::Active, QPalette::Text)), false};
    QColor background, foreground;
    if (index == view_->currentIndex()) {
        // The current cell keeps the highlight colours whatever the rule would mark.
        background = palette.color(QPalette::Active, QPalette::Highlight);
        foreground = palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        style = cellStyleOf(index.row() + 1, index.column(), text, model_->table().thresholds(), style);
        background = ColorOf(style.background);
        foreground = ColorOf(style.fontColor);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    QFont font = option.font;
    font.setBold(style.bold);
    painter->setFont(font);
    painter->setPen(foreground);
    Qt::Alignment horizontal = Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignVCenter;
    cellAlignment(index.row() + 1, index.column(), horizontal, vertical);
    painter->drawText(option.rect, static_cast<int>(horizontal | vertical), text);
    painter->restore();
}
