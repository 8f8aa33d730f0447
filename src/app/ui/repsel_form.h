// TRepselForm: the report selection dialog "Выбор параметров отчета", created at start and
// reused for every opening of a stored report. Its controls and steps come with the report
// selection; this unit gives the window itself.
#pragma once

#include <QDialog>

class TRepselForm : public QDialog {
    Q_OBJECT
public:
    explicit TRepselForm(QWidget* owner = nullptr);
};
