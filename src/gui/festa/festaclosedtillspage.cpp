#include "festaclosedtillspage.h"

#include "core/base/clock.h"
#include "core/festa/festacsv.h"
#include "core/history/historycsv.h"
#include "gui/common/messages.h"
#include "gui/festa/festapanelwords.h"
#include "gui/festa/festatable.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using FestaPanelWords::money;

namespace {
enum Column {
    Desk,
    Number,
    Responsible,
    Operator,
    Opened,
    Closed,
    ClosedBy,
    Float,
    Sales,
    Withdrawn,
    Expected,
    Counted
};
}

std::function<QString(QWidget*, const QString&)> FestaClosedTillsPage::chooseFile =
    [](QWidget* parent, const QString& suggested) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Exportar"), suggested,
                                            QStringLiteral("Planilha CSV (*.csv)"), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };

FestaClosedTillsPage::FestaClosedTillsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pg_fechados"));
    l_fechados = new QLabel(QStringLiteral("Lendo os caixas fechados do servidor…"), this);
    l_fechados->setObjectName(QStringLiteral("l_fechados"));
    tbl_fechados =
        FestaTable::make(this, QStringLiteral("tbl_fechados"),
                         {QStringLiteral("Caixa"), QStringLiteral("Nº"), QStringLiteral("Responsável"),
                          QStringLiteral("Operador"), QStringLiteral("Aberto"), QStringLiteral("Fechado"),
                          QStringLiteral("Fechado\npor"), QStringLiteral("Entrada"), QStringLiteral("Vendas"),
                          QStringLiteral("Sangria"), QStringLiteral("Esperado"), QStringLiteral("Contado")});
    tbl_fechados->horizontalHeader()->setSectionResizeMode(Responsible, QHeaderView::Stretch);

    bt_csv = new QPushButton(QStringLiteral("&Exportar CSV"), this);
    bt_csv->setObjectName(QStringLiteral("bt_csv"));
    bt_csv->setAutoDefault(false);
    connect(bt_csv, &QPushButton::clicked, this,
            [this] { Messages::guarded(this, [this] { exportCsv(); }); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(l_fechados, 1);
    bottom->addWidget(bt_csv);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbl_fechados, 1);
    layout->addLayout(bottom);
}

QWidget* FestaClosedTillsPage::focusTarget() const {
    return tbl_fechados;
}

void FestaClosedTillsPage::showTills(const QList<FestaPanelStore::ClosedTill>& tills) {
    m_read = true;
    m_tills = tills;
    tbl_fechados->setRowCount(int(tills.size()));
    qint64 sales = 0;
    for (int r = 0; r < tills.size(); ++r) {
        const FestaPanelStore::ClosedTill& t = tills[r];
        sales += t.salesCents;
        FestaTable::Look desk;
        desk.bold = true;
        FestaTable::set(tbl_fechados, r, Desk, t.deskName, desk);
        FestaTable::setNumber(tbl_fechados, r, Number, QString::number(t.number));
        FestaTable::Look whole;
        whole.toolTip = t.responsible; // a long name may not fit its column
        FestaTable::set(tbl_fechados, r, Responsible, t.responsible, whole);
        FestaTable::set(tbl_fechados, r, Operator, t.operatorName);
        FestaTable::set(tbl_fechados, r, Opened, FestaPanelWords::moment(t.openDate, t.openTime));
        FestaTable::set(tbl_fechados, r, Closed, FestaPanelWords::moment(t.closedAt));
        FestaTable::set(tbl_fechados, r, ClosedBy, t.closedBy);
        FestaTable::setNumber(tbl_fechados, r, Float, money(t.floatCents));
        FestaTable::Look count;
        count.toolTip = QStringLiteral("%1 venda(s)").arg(t.sales);
        FestaTable::setNumber(tbl_fechados, r, Sales, money(t.salesCents), count);
        count.toolTip = QStringLiteral("%1 sangria(s)").arg(t.withdrawals);
        FestaTable::setNumber(tbl_fechados, r, Withdrawn, money(t.withdrawnCents), count);
        FestaTable::Look expected;
        expected.bold = true;
        FestaTable::setNumber(tbl_fechados, r, Expected, money(t.expectedCents), expected);
        FestaTable::Look counted;
        if (t.countedCents) {
            const qint64 diff = *t.countedCents - t.expectedCents;
            counted.toolTip = QStringLiteral("Diferença: %1").arg(money(diff));
            if (diff < 0) counted.foreground = FestaTable::alarm;
        }
        FestaTable::setNumber(tbl_fechados, r, Counted,
                              t.countedCents ? money(*t.countedCents) : QStringLiteral("—"), counted);
    }
    for (int c = 0; c < tbl_fechados->columnCount(); ++c)
        if (c != Responsible) tbl_fechados->resizeColumnToContents(c);
    l_fechados->setText(
        tills.isEmpty()
            ? QStringLiteral("Nenhum caixa fechado ainda.")
            : QStringLiteral("%1 caixa(s) fechado(s) — vendas R$ %2").arg(tills.size()).arg(money(sales)));
    if (tbl_fechados->currentRow() < 0 && !tills.isEmpty()) tbl_fechados->setCurrentCell(0, 0);
}

void FestaClosedTillsPage::exportCsv() {
    if (!m_read) {
        Messages::plain(this, QStringLiteral("Os caixas fechados ainda não foram lidos do servidor."));
        return;
    }
    const QString suggested =
        QDir(HistoryCsv::defaultFolder())
            .filePath(QStringLiteral("caixas-da-festa-%1.csv")
                          .arg(Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    QString path = chooseFile(this, suggested);
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) path += QStringLiteral(".csv");
    HistoryCsv::write(path, FestaCsv::tillList(m_tills));
    Messages::plain(this, QStringLiteral("Arquivo gravado: %1").arg(QDir::toNativeSeparators(path)));
}
