#include "partialview.h"

#include "core/till/tillmodel.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PartialView::PartialView(TillModel& till)
    : Form(QStringLiteral("f_parcial"), QStringLiteral("Parcial de Caixa")), m_till(till) {
    setFixedDialog(620, 520);
    setClosesOnEscape();
    auto bigBold = [this](const QString& name, const QString& text) {
        QLabel* l = label(name, text, true);
        QFont f = l->font();
        f.setPointSize(12);
        l->setFont(f);
        return l;
    };
    lentrada = bigBold(QStringLiteral("lentrada"), QStringLiteral("0,00"));
    lsangria = bigBold(QStringLiteral("lsangria"), QStringLiteral("0,00"));
    lcaixa = bigBold(QStringLiteral("lcaixa"), QStringLiteral("0,00"));
    lcont_sangria = bigBold(QStringLiteral("lcont_sangria"), QStringLiteral("0"));
    lcaixa->setStyleSheet(QStringLiteral("color: #0000a0;"));
    lsangria->setStyleSheet(QStringLiteral("color: #a00000;"));

    auto* stats = new QGroupBox(QStringLiteral("Estatísticas de Caixa"), this);
    stats->setObjectName(QStringLiteral("GroupBox1"));
    auto* sg = new QGridLayout(stats);
    sg->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Entrada:"), true), 0, 0);
    sg->addWidget(lentrada, 0, 1);
    sg->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Sangria:"), true), 1, 0);
    sg->addWidget(lsangria, 1, 1);
    sg->addWidget(label(QStringLiteral("Label3"), QStringLiteral("Em Caixa:"), true), 2, 0);
    sg->addWidget(lcaixa, 2, 1);
    auto* rule = new QFrame(stats);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setLineWidth(1);
    rule->setStyleSheet(QStringLiteral("border-top: 1px dashed gray;"));
    sg->addWidget(rule, 3, 0, 1, 2);
    sg->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Sangrias de Caixa:"), true), 4, 0);
    sg->addWidget(lcont_sangria, 4, 1);
    sg->setColumnStretch(1, 1);

    auto* heading = label(QStringLiteral("Label5"), QStringLiteral("Produtos Vendidos"), true);
    QFont hf = heading->font();
    hf.setPointSize(12);
    heading->setFont(hf);

    auto* columns = new QHBoxLayout;
    const QString k = ProductKeys::all();
    for (int column = 0; column < 2; ++column) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->addWidget(label(QString(), QStringLiteral("Cod."), true), 0, 0);
        grid->addWidget(label(QString(), QStringLiteral("Produto"), true), 0, 1);
        grid->addWidget(label(QString(), QStringLiteral("Quantidade"), true), 0, 2);
        for (int row = 0; row < 10; ++row) {
            const int i = column * 10 + row;
            grid->addWidget(label(QString(), QString(k[i]), true), row + 1, 0, Qt::AlignCenter);
            m_names[i] = label(QStringLiteral("l") + k[i], QString());
            m_names[i]->setFixedWidth(170);
            grid->addWidget(m_names[i], row + 1, 1);
            m_counts[i] = label(QStringLiteral("cod") + k[i], QStringLiteral("0"), true);
            m_counts[i]->setAlignment(Qt::AlignCenter);
            grid->addWidget(m_counts[i], row + 1, 2);
        }
        columns->addLayout(grid);
        if (column == 0) columns->addSpacing(20);
    }

    auto* sair = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("Sair"), [this] { accept(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stats);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addLayout(columns);
    layout->addStretch();
    layout->addWidget(sair, 0, Qt::AlignRight);

    followWhileShown(&m_till, &TillModel::changed, [this] { refresh(); });
}

void PartialView::refresh() {
    const TillModel& till = m_till;
    const TillStore::TillRow& t = till.till();
    lentrada->setText(t.floatText);
    lsangria->setText(t.withdrawn);
    lcaixa->setText(t.cash);
    lcont_sangria->setText(till.withdrawalsText());
    for (const QChar k : ProductKeys::all()) {
        nameLabel(k)->setText(till.name(k));
        countLabel(k)->setText(till.countText(k));
    }
}

void PartialView::btquantClick() {
    m_till.recount();
}

void PartialView::bt_filtrarClick() {
    m_till.loadNames();
}

void PartialView::keyPressEvent(QKeyEvent* event) {
    // Nothing here takes the focus: Enter and Space leave, as "Sair" does.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        accept();
        return;
    default:
        Form::keyPressEvent(event);
    }
}

void PartialView::FormShow() {
    btquantClick();
}
