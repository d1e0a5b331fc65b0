#include "festaproductspage.h"

#include "gui/festa/festapanelwords.h"
#include "gui/festa/festatable.h"

#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using FestaPanelWords::money;

namespace {

struct Sold {
    qint64 units = 0;
    qint64 cents = 0;
};

const QColor festaTint(0xe8, 0xf0, 0xfa);
constexpr int minimumColumn = 96;

QString productKey(const FestaPanelStore::ProductFigures& p) {
    return p.key + QLatin1Char('\n') + p.name;
}

} // namespace

FestaProductsPage::FestaProductsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pg_produtos"));
    l_vendas_festa = new QLabel(this);
    l_vendas_festa->setObjectName(QStringLiteral("l_vendas_festa"));
    QFont bold = l_vendas_festa->font();
    bold.setBold(true);
    l_vendas_festa->setFont(bold);

    tbl_produtos = FestaTable::make(this, QStringLiteral("tbl_produtos"), {});
    // the product's name heads its row, so it stays in view while the desks' columns scroll
    QHeaderView* names = tbl_produtos->verticalHeader();
    names->show();
    names->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    names->setSectionResizeMode(QHeaderView::Fixed);
    tbl_produtos->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(l_vendas_festa);
    layout->addWidget(tbl_produtos, 1);
}

QWidget* FestaProductsPage::focusTarget() const {
    return tbl_produtos;
}

void FestaProductsPage::showFigures(const FestaPanelStore::Figures& f) {
    l_vendas_festa->setText(
        QStringLiteral("Vendas da festa: R$ %1 em %2 caixa(s)").arg(money(f.salesCents)).arg(f.desks.size()));

    QStringList headings{QStringLiteral("Festa\nunid."), QStringLiteral("Festa\nR$")};
    QHash<QString, int> deskColumn; // desk id -> its units' column
    for (const FestaPanelStore::DeskFigures& d : f.desks) {
        deskColumn.insert(d.deskId, int(headings.size()));
        headings << QStringLiteral("%1\nunid.").arg(d.name) << QStringLiteral("%1\nR$").arg(d.name);
    }
    QHash<QString, int> productRow;
    QStringList names;
    for (const FestaPanelStore::ProductFigures& p : f.products) {
        productRow.insert(productKey(p), int(names.size()));
        names << QStringLiteral("%1  %2").arg(p.key.toUpper(), p.name);
    }
    const int rows = int(names.size()) + 1; // and the total line
    names << QStringLiteral("TOTAL");
    const int columns = int(headings.size());
    tbl_produtos->setColumnCount(columns);
    tbl_produtos->setHorizontalHeaderLabels(headings);
    tbl_produtos->setRowCount(rows);
    tbl_produtos->setVerticalHeaderLabels(names);
    QFont bold = tbl_produtos->font();
    bold.setBold(true);
    tbl_produtos->verticalHeaderItem(rows - 1)->setFont(bold);

    QList<QList<Sold>> cells(rows, QList<Sold>(columns / 2));
    QList<Sold> total(columns / 2);
    for (const FestaPanelStore::ProductFigures& p : f.products) {
        Sold& s = cells[productRow.value(productKey(p))][0];
        s = {p.units, p.cents};
        total[0].units += p.units;
        total[0].cents += p.cents;
    }
    for (const FestaPanelStore::ProductFigures& p : f.productsByDesk) {
        const int pair = deskColumn.value(p.deskId, -1) / 2;
        if (pair <= 0 || !productRow.contains(productKey(p))) continue;
        Sold& s = cells[productRow.value(productKey(p))][pair];
        s.units += p.units;
        s.cents += p.cents;
        total[pair].units += p.units;
        total[pair].cents += p.cents;
    }
    cells[rows - 1] = total;

    for (int r = 0; r < rows; ++r) {
        const bool isTotal = r == rows - 1;
        for (int pair = 0; pair < columns / 2; ++pair) {
            const Sold& s = cells[r][pair];
            FestaTable::Look look;
            look.bold = isTotal || pair == 0; // the festa's figures first, on a tint of their own
            if (pair == 0 && !isTotal) look.background = festaTint;
            const bool none = s.units == 0 && s.cents == 0 && !isTotal;
            FestaTable::setNumber(tbl_produtos, r, 2 * pair,
                                  none ? QStringLiteral("—") : QString::number(s.units), look);
            FestaTable::setNumber(tbl_produtos, r, 2 * pair + 1, none ? QStringLiteral("—") : money(s.cents),
                                  look);
        }
    }
    tbl_produtos->resizeColumnsToContents();
    for (int c = 0; c < columns; ++c)
        tbl_produtos->setColumnWidth(c, std::max(tbl_produtos->columnWidth(c), minimumColumn));
    tbl_produtos->verticalHeader()->resizeSections(QHeaderView::ResizeToContents);
}
