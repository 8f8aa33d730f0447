// A radio group in the classic manner: a captioned box of entries with one item index.
// Setting the index by program clamps it to the entries and, when the selection changes,
// emits clicked() just as a click of the user does.
#pragma once

#include <QGroupBox>
#include <QList>

class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const { return index_; }
    // Values above the last entry select the last one, values below -1 give -1 (no entry).
    void setItemIndex(int index);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int i) const { return buttons_.at(i); }

signals:
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutButtons();

    QList<QRadioButton*> buttons_;
    int index_ = -1;
};
