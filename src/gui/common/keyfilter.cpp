#include "keyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <algorithm>

namespace KeyFilter {

namespace {

int codePoints(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++n;
    return n;
}

class FieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    bool upper = false;
    QString allowed; // empty: any character
    int width = 0;   // code points; 0: no limit

    State validate(QString& input, int& pos) const override {
        // What the edit brought: the text between the parts it kept of the field's last text. An
        // edit that brings only refused characters changes nothing, so a refused key typed over a
        // selection leaves the selection in place, as a paste of refused text does.
        qsizetype prefix = 0;
        while (prefix < input.size() && prefix < m_last.size() && input[prefix] == m_last[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < input.size() - prefix && suffix < m_last.size() - prefix &&
               input[input.size() - 1 - suffix] == m_last[m_last.size() - 1 - suffix])
            ++suffix;
        const QString brought = input.mid(prefix, input.size() - prefix - suffix);
        if (!brought.isEmpty() && !allowed.isEmpty() &&
            std::none_of(brought.cbegin(), brought.cend(), [this](QChar c) { return allowed.contains(c); }))
            return Invalid;

        QString out;
        out.reserve(input.size());
        int cursor = 0;
        for (qsizetype i = 0; i < input.size();) {
            const qsizetype length =
                input[i].isHighSurrogate() && i + 1 < input.size() && input[i + 1].isLowSurrogate() ? 2 : 1;
            QString piece = input.mid(i, length);
            if (upper) piece = piece.toUpper();
            bool keep = true;
            if (!allowed.isEmpty())
                for (const QChar c : piece)
                    keep = keep && allowed.contains(c);
            if (keep) {
                out += piece;
                if (i < pos) cursor += int(piece.size());
            }
            i += length;
        }
        if (width > 0) cut(out, cursor);
        input = out;
        pos = cursor;
        m_last = out;
        return Acceptable;
    }

private:
    mutable QString m_last; // the text last accepted

    // Drops whole characters (grapheme clusters) just before the cursor, where the new text went in,
    // until the text fits; then from the end.
    void cut(QString& text, int& cursor) const {
        while (codePoints(text) > width) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
            if (cursor > 0) {
                graphemes.setPosition(cursor);
                const qsizetype start = graphemes.toPreviousBoundary();
                text.remove(start, cursor - start);
                cursor = int(start);
            } else {
                graphemes.toEnd();
                text.truncate(graphemes.toPreviousBoundary());
            }
        }
    }
};

FieldValidator* validatorOf(QWidget* edit) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    if (!line) return nullptr;
    auto* v = const_cast<FieldValidator*>(dynamic_cast<const FieldValidator*>(line->validator()));
    if (!v) {
        v = new FieldValidator(line);
        line->setValidator(v);
        line->setMaxLength(32767); // the validator counts the width in characters, not in UTF-16 units
    }
    return v;
}

// Enter and Esc type no character, so no validator sees them: a field that does not take Enter keeps
// it from its window, and Esc never reaches the window.
class KeysFilter : public QObject {
public:
    KeysFilter(QObject* parent, bool enter) : QObject(parent), m_enter(enter) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return !m_enter;
        case Qt::Key_Escape:
            return true;
        default:
            return false;
        }
    }

private:
    bool m_enter;
};

} // namespace

void upperCase(QWidget* edit) {
    if (FieldValidator* v = validatorOf(edit)) v->upper = true;
}

void allowOnly(QWidget* edit, const QString& characters, bool enter) {
    edit->installEventFilter(new KeysFilter(edit, enter));
    if (FieldValidator* v = validatorOf(edit)) v->allowed = characters;
}

void limitWidth(QLineEdit* edit, int characters) {
    if (FieldValidator* v = validatorOf(edit)) v->width = characters;
}

void password(QLineEdit* edit) {
    upperCase(edit);
    edit->setEchoMode(QLineEdit::Password);
    // "*" for each character, whatever the platform's own password character
    edit->setStyleSheet(edit->styleSheet() + QStringLiteral("lineedit-password-character: 42;"));
}

QString filtered(QWidget* edit, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    const auto* v = line ? dynamic_cast<const FieldValidator*>(line->validator()) : nullptr;
    if (!v) return text;
    QString out = text;
    int pos = int(out.size());
    v->validate(out, pos);
    return out;
}

} // namespace KeyFilter
