#include "lasttillview.h"

#include "core/reports/lasttillreport.h"
#include "core/settings/lasttillstore.h"
#include "core/till/tillmodel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LastTillView::LastTillView(Database& db, TillModel& till, LastTillReport& report)
    : Form(QStringLiteral("f_base"), QStringLiteral("Base Dados - Caixa Anterior")), m_db(db), m_till(till),
      m_report(report) {
    setFixedDialog(420, 590);

    QLabel* heading =
        label(QStringLiteral("Label1"), QStringLiteral("Relatório Caixa Anterior (Backup)"), true);
    QFont hf = heading->font();
    hf.setPointSize(12);
    heading->setFont(hf);

    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setReadOnly(true);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mf(QStringLiteral("Courier New"));
    mf.setStyleHint(QFont::Monospace);
    mf.setPointSize(10);
    DBMemo1->setFont(mf);
    DBMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    showStored();

    btimprimir =
        speedButton(QStringLiteral("btimprimir"), QStringLiteral("Imprimir"), [this] { btimprimirClick(); });
    btsair = speedButton(QStringLiteral("btsair"), QStringLiteral("Sair"), [this] { btsairClick(); });
    for (QPushButton* b : {btimprimir, btsair})
        b->setMinimumSize(100, 30);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btimprimir);
    buttons->addWidget(btsair);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addWidget(DBMemo1, 1);
    layout->addLayout(buttons);
}

void LastTillView::btgravadorClick() {
    m_till.saveBackup();
    showStored();
}

void LastTillView::btimprimirClick() {
    QString shown = DBMemo1->toPlainText();
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    const QStringList lines = shown.isEmpty() ? QStringList() : shown.split(QLatin1Char('\n'));
    LastTillReport* r = &m_report;
    r->setLines(QStringLiteral("QRMemo1"), lines);
    m_till.journal().printAlone(PrintJournal::Kind::Backup, QStringLiteral("A cópia do último caixa"), *r);
}

void LastTillView::btsairClick() {
    accept();
}

void LastTillView::FormShow() {
    // Always the stored text, whatever was saved while the window was closed.
    showStored();
}

void LastTillView::showStored() {
    const QString stored = LastTillStore::text(m_db);
    if (stored != DBMemo1->toPlainText()) DBMemo1->setPlainText(stored);
}
