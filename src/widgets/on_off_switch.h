// Switch1: an on/off switch with a caption; a user's click flips it and reports On or Off.
#pragma once

#include <QAbstractButton>

class OnOffSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit OnOffSwitch(const QString& caption, QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    // Sets the state; reports On or Off when it changes, as a click does.
    void setOn(bool on);

    QSize sizeHint() const override;

signals:
    void switchedOn();
    void switchedOff();

protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override;
};
