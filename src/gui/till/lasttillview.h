#pragma once

#include "gui/common/form.h"

class DataModule;
class LastTillReport;
class TillModel;
class DBMemo;
class QPushButton;

// The last till backup: a plain-text summary of the till, rewritten after every sale, shown and
// reprinted from here.
class LastTillView : public Form {
    Q_OBJECT
public:
    LastTillView(DataModule& dm, TillModel& till, LastTillReport& report);

    // "Gravador", never visible: rewrites the backup from the till's figures.
    void btgravadorClick();
    void btimprimirClick();
    void btsairClick();

protected:
    void FormShow() override;

private:
    DataModule& m_dm;
    TillModel& m_till;
    LastTillReport& m_report;

    // Its widgets: other code finds them by their objectName.
private:
    DBMemo* DBMemo1 = nullptr; // the stored text, read-only
    QPushButton* btimprimir = nullptr;
    QPushButton* btsair = nullptr;
};
