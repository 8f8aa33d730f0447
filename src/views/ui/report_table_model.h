// The text report's table Grid1: a model that shows the built report table without copying
// it (cell texts are made when a row comes into view), and the cell painting that applies the
// colour rule and draws the current cell in the highlight colours.
#pragma once

#include "report/report_table.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <array>
#include <memory>

class QTableView;

class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportTableModel(QObject* parent = nullptr);

    // Shows another built table; the header texts stay as they were set.
    void setTable(std::shared_ptr<const ReportTable> table);
    const ReportTable& table() const { return *table_; }
    std::shared_ptr<const ReportTable> sharedTable() const { return table_; }

    // Model rows are the table's data rows: model row r is grid row r + 1 (grid row 0 is the
    // fixed header row, the view's horizontal header).
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<const ReportTable> table_;
    std::array<QString, ReportTable::kColumnCount> headers_;
};

// Paints Grid1's cells: the normal colours, then the colour rule with the thresholds of the
// table's last build; the current cell in the highlight colours over any marking, with no
// focus rectangle; bold where the rule says so; text centred.
class ReportCellPainter : public QStyledItemDelegate {
    Q_OBJECT
public:
    ReportCellPainter(QTableView* view, const ReportTableModel* model);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QTableView* view_;
    const ReportTableModel* model_;
};
