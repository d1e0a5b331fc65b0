#include "aboutdialog.h"

#include "core/base/maker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog() : Form(QStringLiteral("f_about"), QStringLiteral("Quorvanta 3.0")) {
    setFixedDialog(380, 250);
    setClosesOnEscape();
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/resources/quorvanta.png")).pixmap(64, 64));
    auto* product = label(QStringLiteral("ProductName"), QStringLiteral("Quorvanta 3.0"), true);
    QFont pf = product->font();
    pf.setPointSize(14);
    product->setFont(pf);
    product->setStyleSheet(QStringLiteral("color: red;"));
    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(label(QStringLiteral("Version"), QStringLiteral("Desenvolvido por: ") + Maker::name()));
    texts->addSpacing(8);
    texts->addWidget(label(QStringLiteral("Label1"), QStringLiteral("Contatos:"), true));
    texts->addWidget(label(QStringLiteral("Label2"), QStringLiteral("Telefone: (00) 0000-0000")));
    texts->addWidget(
        label(QStringLiteral("Label3"), QStringLiteral("E-mail: contato@quorvanta.example.org")));
    texts->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Site: ") + Maker::site()));
    auto* row = new QHBoxLayout(panel);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}
