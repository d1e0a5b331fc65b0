#include "passwordprompt.h"

#include "core/db/datamodule.h"
#include "core/settings/passwordstore.h"
#include "keyfilter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordPrompt::PasswordPrompt(DataModule& dm, const Design& design, std::function<void()> onAccepted)
    : Form(design.objectName, design.caption), m_dm(dm), m_design(design),
      m_onAccepted(std::move(onAccepted)) {
    setFixedDialog(320, 130);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label(QStringLiteral("Label1"), design.labelText, true));
    edt_senha = lineEdit(design.editName);
    if (design.stored) {
        edt_senha->setEchoMode(QLineEdit::Password);
        edt_senha->setStyleSheet(edt_senha->styleSheet() +
                                 QStringLiteral("lineedit-password-character: 42;"));
    } else {
        KeyFilter::password(edt_senha);
    }
    QFont f = edt_senha->font();
    f.setBold(true);
    f.setPointSize(12);
    edt_senha->setFont(f);
    edt_senha->setStyleSheet(edt_senha->styleSheet() + QStringLiteral("color: red;"));
    layout->addWidget(edt_senha);
    auto* buttons = new QHBoxLayout;
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                               [this] { SpeedButton2Click(); });
    bt_fechar = speedButton(QStringLiteral("bt_fechar"), design.okCaption, [this] { bt_fecharClick(); });
    buttons->addStretch();
    buttons->addWidget(SpeedButton2);
    buttons->addWidget(bt_fechar);
    layout->addLayout(buttons);
    connect(edt_senha, &QLineEdit::returnPressed, this, [this] { guard([this] { bt_fecharClick(); }); });
}

void PasswordPrompt::bt_fecharClick() {
    // After any refusal or error the field is empty and keeps the focus, ready for a new try.
    const auto again = [this] {
        edt_senha->clear();
        edt_senha->setFocus(Qt::OtherFocusReason);
    };
    const QString typed = edt_senha->text();
    try {
        QString stored;
        if (m_design.stored) {
            stored = m_design.stored();
        } else {
            PasswordStore::find(m_dm, m_design.column, typed);
            const Dataset* q = m_dm.q_senhas;
            stored = q->isEmpty() ? QString() : q->asString(m_design.column);
        }
        if (typed.isEmpty()) {
            Messages::warning(this, QStringLiteral("Preencha o Campo Senha"));
            again();
            return;
        }
        if (stored != typed) {
            Messages::warning(this, QStringLiteral("Senha inválida!"));
            again();
            return;
        }
        edt_senha->clear();
        if (m_onAccepted) m_onAccepted();
    } catch (...) {
        again();
        throw;
    }
    accept();
}

void PasswordPrompt::SpeedButton2Click() {
    edt_senha->clear();
    reject();
}

void PasswordPrompt::FormClose() {
    edt_senha->clear();
}
