#pragma once

#include "foundation/form.h"

class QLabel;
class QLineEdit;

// The partial till view; its labels hold the figures of the open till.
class Tf_parcial : public Form {
    Q_OBJECT
public:
    explicit Tf_parcial(Forms& forms);
    QLabel* lentrada = nullptr;
    QLabel* lsangria = nullptr;
    QLabel* lcaixa = nullptr;
    QLabel* lcont_sangria = nullptr;
    QLabel* lresponsavel = nullptr;
    QLabel* loperador = nullptr;
    QLabel* ldata = nullptr;
    QLabel* lhora = nullptr;
    QLabel* lenter = nullptr;

    // The twenty product keys, in the order of the labels.
    static QString keys() { return QStringLiteral("0123456789abcdefghij"); }
    QLabel* nameLabel(QChar key) const { return m_names[keys().indexOf(key)]; }  // l0 ... lj
    QLabel* countLabel(QChar key) const { return m_counts[keys().indexOf(key)]; } // cod0 ... codj
    void recount(QChar) {}      // bt0 ... btj
    void btquantClick() {}      // recount all, in the order 1..9, 0, a..j
    void bt_filtrarClick() {}   // load the product names

private:
    QLabel* m_names[20] = {};
    QLabel* m_counts[20] = {};

};
