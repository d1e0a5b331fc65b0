#pragma once

#include "foundation/report.h"

class Forms;

// The till opening report. The opening sets the captions of qr_data, qr_hora, q_ncaixa,
// qr_responsavel, qr_operador and qr_entrada; the event header comes from the event data.
class Tqr_abertura : public Report {
public:
    explicit Tqr_abertura(Forms& forms);
};
