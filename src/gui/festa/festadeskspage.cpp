#include "festadeskspage.h"

#include "gui/common/messages.h"
#include "gui/festa/festapanelwords.h"
#include "gui/festa/festatable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using FestaPanelWords::money;

namespace {
enum Column { Name, Till, Contact, Waiting, Float, Sales, Withdrawals, Withdrawn, Expected, Catalogue };
}

FestaDesksPage::FestaDesksPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pg_caixas"));
    l_caixa_totais = new QLabel(this);
    l_caixa_totais->setObjectName(QStringLiteral("l_caixa_totais"));
    l_caixa_totais->setWordWrap(true);

    tbl_caixas =
        FestaTable::make(this, QStringLiteral("tbl_caixas"),
                         {QStringLiteral("Caixa"), QStringLiteral("Turno"), QStringLiteral("Contato"),
                          QStringLiteral("A enviar"), QStringLiteral("Entrada"), QStringLiteral("Vendas"),
                          QStringLiteral("Sangrias"), QStringLiteral("Sangria"), QStringLiteral("Esperado"),
                          QStringLiteral("Catálogo")});
    tbl_caixas->horizontalHeaderItem(Waiting)->setToolTip(
        QStringLiteral("Registros que o caixa ainda não enviou ao servidor"));
    tbl_caixas->horizontalHeaderItem(Withdrawals)->setToolTip(QStringLiteral("Quantidade de sangrias"));
    tbl_caixas->horizontalHeaderItem(Expected)->setToolTip(
        QStringLiteral("Dinheiro esperado no caixa: entrada + vendas − sangria"));
    tbl_caixas->horizontalHeaderItem(Catalogue)->setToolTip(
        QStringLiteral("Versão do catálogo com que o caixa vende"));
    tbl_caixas->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    connect(tbl_caixas, &QTableWidget::currentCellChanged, this, &FestaDesksPage::updateRelease);

    l_parados = new QLabel(this);
    l_parados->setObjectName(QStringLiteral("l_parados"));
    l_parados->setWordWrap(true);
    l_parados->setTextFormat(Qt::PlainText);
    QPalette red = l_parados->palette();
    red.setColor(QPalette::WindowText, FestaTable::alarm);
    l_parados->setPalette(red);
    l_parados->hide();

    bt_liberar = new QPushButton(QStringLiteral("&Liberar: este fica com a identidade…"), this);
    bt_liberar->setObjectName(QStringLiteral("bt_liberar"));
    bt_liberar->setAutoDefault(false);
    bt_liberar->setToolTip(
        QStringLiteral("O caixa escolhido na lista fica com a identidade; o outro passa a ser "
                       "um caixa novo e envia as vendas que fez desde a cópia (pede a "
                       "senha do administrador)"));
    bt_liberar->setEnabled(false);
    connect(bt_liberar, &QPushButton::clicked, this,
            [this] { Messages::guarded(this, [this] { release(); }); });

    auto* stops = new QHBoxLayout;
    stops->addWidget(l_parados, 1);
    stops->addWidget(bt_liberar, 0, Qt::AlignRight | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(l_caixa_totais);
    layout->addWidget(tbl_caixas, 1);
    layout->addLayout(stops);
}

QWidget* FestaDesksPage::focusTarget() const {
    return tbl_caixas;
}

void FestaDesksPage::showFigures(const FestaPanelStore::Figures& f) {
    const QString chosen = tbl_caixas->currentRow() >= 0 && tbl_caixas->currentRow() < m_desks.size()
                               ? m_desks[tbl_caixas->currentRow()].deskId
                               : QString();
    m_desks = f.desks;
    tbl_caixas->setRowCount(int(m_desks.size()));
    qint64 withdrawn = 0;
    int withdrawals = 0;
    QStringList stopped;
    for (int r = 0; r < m_desks.size(); ++r) {
        const FestaPanelStore::DeskFigures& d = m_desks[r];
        withdrawn += d.festaWithdrawnCents;
        withdrawals += d.festaWithdrawals;
        FestaTable::Look look;
        if (!d.stopped.isEmpty()) {
            look.foreground = FestaTable::alarm;
            look.background = FestaTable::alarmBackground;
            look.toolTip = d.stopped;
            stopped << QStringLiteral("%1: ENVIO PARADO — %2").arg(FestaPanelWords::name(d), d.stopped);
        }
        FestaTable::Look name = look;
        name.bold = true;
        FestaTable::set(tbl_caixas, r, Name, FestaPanelWords::name(d), name);
        FestaTable::set(tbl_caixas, r, Till, FestaPanelWords::till(d), look);
        FestaTable::Look contact = look;
        contact.bold = !d.stopped.isEmpty();
        const bool silent = FestaPanelWords::isSilent(d);
        if (d.stopped.isEmpty() && silent) contact.foreground = FestaTable::alarm;
        FestaTable::set(tbl_caixas, r, Contact,
                        d.stopped.isEmpty() ? FestaPanelWords::since(d.secondsSinceContact)
                                            : QStringLiteral("PARADO"),
                        contact);
        // a silent desk's count is as of its last word: it may have booked more since
        FestaTable::Look waiting = look;
        if (silent) {
            waiting.foreground = FestaTable::alarm;
            waiting.toolTip = QStringLiteral("Sem contato: o caixa pode ter vendas que o servidor ainda não "
                                             "recebeu (%1 na última notícia)")
                                  .arg(d.waiting);
        }
        FestaTable::setNumber(tbl_caixas, r, Waiting,
                              silent ? QStringLiteral("%1?").arg(d.waiting) : QString::number(d.waiting),
                              waiting);
        FestaTable::setNumber(tbl_caixas, r, Float, money(d.floatCents), look);
        FestaTable::Look sales = look;
        sales.toolTip = QStringLiteral("%1 venda(s) neste turno").arg(d.sales);
        FestaTable::setNumber(tbl_caixas, r, Sales, money(d.salesCents), sales);
        FestaTable::setNumber(tbl_caixas, r, Withdrawals, QString::number(d.withdrawals), look);
        FestaTable::setNumber(tbl_caixas, r, Withdrawn, money(d.withdrawnCents), look);
        FestaTable::Look expected = look;
        expected.bold = true;
        FestaTable::setNumber(tbl_caixas, r, Expected, money(d.expectedCents()), expected);
        look.align = FestaTable::Align::Center;
        FestaTable::set(tbl_caixas, r, Catalogue,
                        d.catalogue > 0 ? QStringLiteral("v%1").arg(d.catalogue) : QStringLiteral("—"), look);
        if (d.deskId == chosen) tbl_caixas->setCurrentCell(r, std::max(0, tbl_caixas->currentColumn()));
    }
    for (int c = 0; c < tbl_caixas->columnCount(); ++c)
        if (c != Name) tbl_caixas->resizeColumnToContents(c);
    l_caixa_totais->setText(
        QStringLiteral(
            "Toda a festa: vendas R$ %1 — %2 sangria(s), R$ %3. Cada linha mostra o turno atual (ou o "
            "último) do caixa.")
            .arg(money(f.salesCents))
            .arg(withdrawals)
            .arg(money(withdrawn)));
    l_parados->setText(stopped.join(QLatin1Char('\n')));
    l_parados->setVisible(!stopped.isEmpty());
    if (tbl_caixas->currentRow() < 0 && !m_desks.isEmpty() && !chosen.isEmpty()) {
        // the desk chosen became the other one of a copied identity: stay on a row of it
        for (int r = 0; r < m_desks.size() && tbl_caixas->currentRow() < 0; ++r)
            if (m_desks[r].deskId == chosen) tbl_caixas->setCurrentCell(r, 0);
    }
    if (tbl_caixas->currentRow() < 0 && !m_desks.isEmpty()) {
        // none chosen yet: the first stopped desk, as the one needing the treasurer
        int first = 0;
        while (first < m_desks.size() && m_desks[first].stopped.isEmpty())
            ++first;
        tbl_caixas->setCurrentCell(first < m_desks.size() ? first : 0, 0);
    }
    updateRelease();
}

void FestaDesksPage::updateRelease() {
    const int r = tbl_caixas->currentRow();
    bt_liberar->setEnabled(r >= 0 && r < m_desks.size() && m_desks[r].claimSeq > 0);
}

void FestaDesksPage::release() {
    const int r = tbl_caixas->currentRow();
    if (r < 0 || r >= m_desks.size() || m_desks[r].claimSeq == 0) {
        Messages::plain(this,
                        QStringLiteral("Escolha na lista, dos dois caixas com a mesma identidade, o que "
                                       "fica com ela."));
        tbl_caixas->setFocus();
        return;
    }
    emit releaseAsked(m_desks[r]);
}
