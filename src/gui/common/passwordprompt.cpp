#include "passwordprompt.h"

#include "core/settings/passwordstore.h"
#include "keyfilter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordPrompt::PasswordPrompt(Database& db, const Design& design, std::function<void()> onAccepted)
    : Form(design.objectName, design.caption), m_db(db), m_design(design),
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
        // the look-up runs also for an empty field, so that its errors show as for any other entry
        const bool right = m_design.stored ? m_design.stored() == typed
                                           : PasswordStore::matches(m_db, m_design.column, typed);
        if (typed.isEmpty()) {
            Messages::warning(this, QStringLiteral("Preencha o Campo Senha"));
            again();
            return;
        }
        if (!right) {
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
