#pragma once

#include "gui/common/form.h"

class Database;
class LastTillReport;
class TillModel;
class QPlainTextEdit;
class QPushButton;

// The last till backup: a plain-text summary of the till, rewritten after every sale, shown and
// reprinted from here.
class LastTillView : public Form {
    Q_OBJECT
public:
    LastTillView(Database& db, TillModel& till, LastTillReport& report);

    // "Gravador", never visible: rewrites the backup from the till's figures.
    void btgravadorClick();
    void btimprimirClick();
    void btsairClick();

protected:
    void FormShow() override;

private:
    void showStored(); // the memo shows the stored text
    Database& m_db;
    TillModel& m_till;
    LastTillReport& m_report;

    // Its widgets: other code finds them by their objectName.
private:
    QPlainTextEdit* DBMemo1 = nullptr; // the stored text, read-only
    QPushButton* btimprimir = nullptr;
    QPushButton* btsair = nullptr;
};
