#include "u_base.h"

#include "foundation/dbwidgets.h"
#include "foundation/u_dm.h"
#include "shell/forms.h"
#include "till/tillmodel.h"
#include "u_qr_imprbakcup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tf_base::Tf_base(Forms& forms)
    : Form(forms, QStringLiteral("f_base"), QStringLiteral("Base Dados - Caixa Anterior")) {
    setFixedDialog(420, 590);

    QLabel* heading =
        label(QStringLiteral("Label1"), QStringLiteral("Relatório Caixa Anterior (Backup)"), true);
    QFont hf = heading->font();
    hf.setPointSize(12);
    heading->setFont(hf);

    DBMemo1 = new DBMemo(this, QStringLiteral("DBMemo1"), forms.dm->q_base, QStringLiteral("ultcaixa"));
    QFont mf(QStringLiteral("Courier New"));
    mf.setStyleHint(QFont::Monospace);
    mf.setPointSize(10);
    DBMemo1->setFont(mf);
    DBMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);

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

QString Tf_base::backupText() const {
    return forms.till->backupText();
}

void Tf_base::btgravadorClick() {
    forms.till->saveBackup();
    // the memo shows the stored text
    Dataset* q = forms.dm->q_base;
    q->close();
    q->open();
}

void Tf_base::btimprimirClick() {
    QString shown = DBMemo1->toPlainText();
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    const QStringList lines = shown.isEmpty() ? QStringList() : shown.split(QLatin1Char('\n'));
    Tqr_impbackup* r = forms.qr_impbackup;
    r->setLines(QStringLiteral("QRMemo1"), lines);
    r->print();
}

void Tf_base::btsairClick() {
    accept();
}

void Tf_base::FormShow() {
    // Always the stored text, whatever was saved while the window was closed.
    Dataset* q = forms.dm->q_base;
    q->close();
    q->open();
}
