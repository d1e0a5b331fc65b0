#include "changedialog.h"

#include "core/till/tillmodel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ChangeDialog::ChangeDialog(TillModel& till)
    : Form(QStringLiteral("f_troco"), QStringLiteral("TROCO")), m_till(till) {
    setFixedDialog(420, 250);

    QLabel* heading = label(QStringLiteral("Label1"), QStringLiteral("<< TROCO >>"), true);
    QFont hf = heading->font();
    hf.setPointSize(16);
    heading->setFont(hf);
    heading->setStyleSheet(QStringLiteral("color: #8b0000;"));
    heading->setAlignment(Qt::AlignCenter);

    ltroco = label(QStringLiteral("ltroco"), QString(), true);
    QFont tf = ltroco->font();
    tf.setPointSize(40);
    ltroco->setFont(tf);
    ltroco->setStyleSheet(QStringLiteral("color: #0000c0;"));
    ltroco->setAlignment(Qt::AlignCenter);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn1->setMinimumSize(120, 40);
    QFont bf = BitBtn1->font();
    bf.setBold(true);
    bf.setPointSize(12);
    BitBtn1->setFont(bf);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guard([this] { BitBtn1Click(); }); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(ltroco, 1);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
}

void ChangeDialog::FormShow() {
    ltroco->setText(m_change);
    BitBtn1->setFocus(Qt::OtherFocusReason);
}

void ChangeDialog::BitBtn1Click() {
    m_till.clearSale();
    m_till.recount();
    m_till.saveBackup();
    accept();
}

void ChangeDialog::FormClose() {
    // however the window closes, the sale on the screen is over
    m_till.clearSale();
}
