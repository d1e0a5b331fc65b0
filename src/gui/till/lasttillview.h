#pragma once

#include "gui/common/form.h"

class DBMemo;
class QPushButton;

// The last till backup: a plain-text summary of the till, rewritten after every sale, shown and
// reprinted from here.
class LastTillView : public Form {
    Q_OBJECT
public:
    explicit LastTillView(Forms& forms);

    DBMemo* DBMemo1 = nullptr; // the stored text, read-only
    QPushButton* btimprimir = nullptr;
    QPushButton* btsair = nullptr;

    // "Gravador", never visible: rewrites the backup from the till's figures.
    void btgravadorClick();
    void btimprimirClick();
    void btsairClick();

protected:
    void FormShow() override;
};
