#include "keyfilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace KeyFilter {

namespace {

class UpperFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const QString upper = text.toUpper();
        if (text.isEmpty() || upper == text) return false;
        QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), upper, key->isAutoRepeat(),
                           ushort(key->count()));
        QCoreApplication::sendEvent(watched, &replaced);
        return true;
    }
};

class AllowFilter : public QObject {
public:
    AllowFilter(QObject* parent, QString allowed, bool enter)
        : QObject(parent), m_allowed(std::move(allowed)), m_enter(enter) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false; // shortcuts, not characters
        switch (key->key()) {
        case Qt::Key_Backspace:
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return !m_enter;
        case Qt::Key_Escape:
            return true;
        default:
            break;
        }
        const QString text = key->text();
        if (text.isEmpty() || !text[0].isPrint()) return false;
        for (const QChar c : text)
            if (!m_allowed.contains(c)) return true;
        return false;
    }

private:
    QString m_allowed;
    bool m_enter;
};

// The same rules for text that arrives without a key press (pasted, or dropped): capitals, and
// only the allowed characters (a paste holding another character is refused whole).
class FieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    bool upper = false;
    QString allowed; // empty: any character
    State validate(QString& input, int&) const override {
        if (upper) input = input.toUpper();
        if (!allowed.isEmpty())
            for (const QChar c : input)
                if (!allowed.contains(c)) return Invalid;
        return Acceptable;
    }
};

FieldValidator* validatorOf(QWidget* edit) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    if (!line) return nullptr;
    auto* v = const_cast<FieldValidator*>(dynamic_cast<const FieldValidator*>(line->validator()));
    if (!v) {
        v = new FieldValidator(line);
        line->setValidator(v);
    }
    return v;
}

} // namespace

void upperCase(QWidget* edit) {
    edit->installEventFilter(new UpperFilter(edit));
    if (FieldValidator* v = validatorOf(edit)) v->upper = true;
}

void allowOnly(QWidget* edit, const QString& characters, bool enter) {
    edit->installEventFilter(new AllowFilter(edit, characters, enter));
    if (FieldValidator* v = validatorOf(edit)) v->allowed = characters;
}

void password(QLineEdit* edit) {
    upperCase(edit);
    edit->setEchoMode(QLineEdit::Password);
    // "*" for each character, whatever the platform's own password character
    edit->setStyleSheet(edit->styleSheet() + QStringLiteral("lineedit-password-character: 42;"));
}

} // namespace KeyFilter
