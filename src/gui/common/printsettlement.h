#pragma once

#include <QStringList>

class QWidget;
class TillModel;

// Settles the documents the printer could not account for (after a crash, or a print that ended in
// doubt): the printer's side answers where it can, the cashier where it cannot ("A ficha 3 de CERVEJA
// saiu na impressora?"), and each document's step completes or is dropped; what became of each step is
// told in a plain message. Returns those texts.
QStringList settleInDoubt(QWidget* parent, TillModel& till);
