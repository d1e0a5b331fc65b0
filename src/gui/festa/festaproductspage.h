#pragma once

#include "core/festa/festapanelstore.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The panel's "Produtos" page: each product's units and amount for the whole festa and, beside them, a
// column pair per desk; the product's name stays in view however far the desks scroll, and a total line
// closes the list.
class FestaProductsPage : public QWidget {
    Q_OBJECT
public:
    explicit FestaProductsPage(QWidget* parent = nullptr);

    void showFigures(const FestaPanelStore::Figures& figures);
    QWidget* focusTarget() const;

private:
    QLabel* l_vendas_festa = nullptr;
    QTableWidget* tbl_produtos = nullptr;
};
