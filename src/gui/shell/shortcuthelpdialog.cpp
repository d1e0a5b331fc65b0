#include "shortcuthelpdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ShortcutHelpDialog::ShortcutHelpDialog()
    : Form(QStringLiteral("f_atalhos"), QStringLiteral("Teclas de Atalho")) {
    setFixedDialog(440, 300);
    setClosesOnEscape();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(QStringLiteral("Label1"),
                            QStringLiteral("* Teclas de Atalho para utilizar na tela de Vendas de Caixa"),
                            true));
    int n = 2;
    for (const char* line :
         {"CTRL + F  -  Fechamento de Caixa", "CTRL + P  -  Exibe na tela o Parcial do Caixa",
          "CTRL + S  -  Efetua Sangria de Caixa", "F11  -  Painel da Festa (senha da tesouraria)"}) {
        QLabel* l = label(QStringLiteral("Label%1").arg(n++), QString::fromUtf8(line), true);
        l->setStyleSheet(QStringLiteral("color: blue;"));
        layout->addWidget(l);
    }
    // The main window's keys for the history and the festa's panel (its other keys are shown in its menus).
    layout->addWidget(label(QStringLiteral("Label%1").arg(n++), QStringLiteral("* Na tela principal"), true));
    for (const char* line : {"F9  -  Histórico de Caixas", "F11  -  Painel da Festa (várias caixas)"}) {
        QLabel* l = label(QStringLiteral("Label%1").arg(n++), QString::fromUtf8(line), true);
        l->setStyleSheet(QStringLiteral("color: blue;"));
        layout->addWidget(l);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}
