#pragma once

#include "foundation/report.h"

class Forms;

// The till closing report: the till's figures and the tickets sold of each of the twenty keys.
// Its labels are filled by the sales screen's closing command and by the closing window.
class Tqr_fechamento : public Report {
public:
    explicit Tqr_fechamento(Forms& forms);
};
