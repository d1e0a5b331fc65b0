#include "jetsql.h"

#include <QList>

namespace JetSql {

namespace {

enum class Tok { Space, Word, String, Number, Param, Punct };

struct Token {
    Tok type;
    QString text; // for String: the value, unquoted
};

QList<Token> tokenize(const QString& s) {
    QList<Token> out;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            int j = i;
            while (j < n && s[j].isSpace())
                ++j;
            out.append({Tok::Space, s.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            int j = i + 1;
            for (; j < n; ++j) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        value += c;
                        ++j;
                    } else {
                        break;
                    }
                } else {
                    value += s[j];
                }
            }
            out.append({Tok::String, value});
            i = j + 1;
        } else if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('[')) {
            int j = i;
            if (c == QLatin1Char('[')) {
                while (j < n && s[j] != QLatin1Char(']'))
                    ++j;
                ++j;
            } else {
                while (j < n && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                    ++j;
            }
            out.append({Tok::Word, s.mid(i, j - i)});
            i = j;
        } else if (c.isDigit()) {
            int j = i;
            while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.')))
                ++j;
            out.append({Tok::Number, s.mid(i, j - i)});
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n &&
                   (s[i + 1].isLetter() || s[i + 1] == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < n && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            out.append({Tok::Param, s.mid(i, j - i)});
            i = j;
        } else if ((c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!')) && i + 1 < n &&
                   (s[i + 1] == QLatin1Char('=') || s[i + 1] == QLatin1Char('>'))) {
            out.append({Tok::Punct, s.mid(i, 2)});
            i += 2;
        } else {
            out.append({Tok::Punct, QString(c)});
            ++i;
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w) {
    return t.type == Tok::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

QString unbracket(const QString& word) {
    if (word.startsWith(QLatin1Char('[')) && word.endsWith(QLatin1Char(']')))
        return word.mid(1, word.size() - 2);
    return word;
}

// Index of the next non-space token at or after i, or -1.
int skip(const QList<Token>& t, int i) {
    while (i < t.size() && t[i].type == Tok::Space)
        ++i;
    return i < t.size() ? i : -1;
}

QString likeEscaped(const QString& jetPattern) {
    QString out;
    for (const QChar c : jetPattern) {
        if (c == QLatin1Char('*'))
            out += QLatin1Char('%');
        else if (c == QLatin1Char('?'))
            out += QLatin1Char('_');
        else if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

QVariant literalValue(const Token& t) {
    if (t.type == Tok::String) return t.text;
    if (t.type == Tok::Number)
        return t.text.contains(QLatin1Char('.')) ? QVariant(t.text.toDouble())
                                                 : QVariant(t.text.toLongLong());
    return {}; // NULL
}

// Parses "insert into t (c1, c2) values (lit, lit)" into columns and literals.
bool parseInsert(const QList<Token>& t, Statement& st) {
    int i = skip(t, 0);
    if (i < 0 || !isWord(t[i], "insert")) return false;
    i = skip(t, i + 1);
    if (i < 0 || !isWord(t[i], "into")) return false;
    i = skip(t, i + 1);
    if (i < 0 || t[i].type != Tok::Word) return false;
    st.table = unbracket(t[i].text);
    i = skip(t, i + 1);
    if (i < 0 || t[i].text != QLatin1String("(")) return false;
    QStringList cols;
    for (;;) {
        i = skip(t, i + 1);
        if (i < 0 || t[i].type != Tok::Word) return false;
        cols << unbracket(t[i].text);
        i = skip(t, i + 1);
        if (i < 0) return false;
        if (t[i].text == QLatin1String(")")) break;
        if (t[i].text != QLatin1String(",")) return false;
    }
    i = skip(t, i + 1);
    if (i < 0 || !isWord(t[i], "values")) return false;
    i = skip(t, i + 1);
    if (i < 0 || t[i].text != QLatin1String("(")) return false;
    QVariantList values;
    for (;;) {
        i = skip(t, i + 1);
        if (i < 0) return false;
        bool negative = false;
        if (t[i].text == QLatin1String("-")) {
            negative = true;
            i = skip(t, i + 1);
            if (i < 0 || t[i].type != Tok::Number) return false;
        }
        if (t[i].type == Tok::String || t[i].type == Tok::Number || isWord(t[i], "null")) {
            QVariant v = literalValue(t[i]);
            if (negative)
                v = v.typeId() == QMetaType::Double ? QVariant(-v.toDouble()) : QVariant(-v.toLongLong());
            values << v;
        } else {
            return false;
        }
        i = skip(t, i + 1);
        if (i < 0) return false;
        if (t[i].text == QLatin1String(")")) break;
        if (t[i].text != QLatin1String(",")) return false;
    }
    const int rest = skip(t, i + 1);
    if (rest >= 0 && !(t[rest].text == QLatin1String(";") && skip(t, rest + 1) < 0)) return false;
    if (cols.size() != values.size()) return false;
    QStringList marks;
    for (int k = 0; k < cols.size(); ++k)
        marks << QStringLiteral("?");
    st.insertColumns = cols;
    st.insertValues = values;
    st.insertWithLiterals = true;
    st.sql = QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
                 .arg(st.table, cols.join(QStringLiteral("\", \"")), marks.join(QStringLiteral(", ")));
    return true;
}

} // namespace

QString quoted(const QString& text) {
    QString inner = text;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

Statement translate(const QString& jet) {
    QList<Token> t = tokenize(jet);
    Statement st;
    const int first = skip(t, 0);
    if (first >= 0) {
        if (isWord(t[first], "select"))
            st.kind = Kind::Select;
        else if (isWord(t[first], "insert"))
            st.kind = Kind::Insert;
        else if (isWord(t[first], "update"))
            st.kind = Kind::Update;
        else if (isWord(t[first], "delete"))
            st.kind = Kind::Delete;
    }
    if (st.kind == Kind::Insert && parseInsert(t, st)) return st;

    // "delete * from": drop the star
    if (st.kind == Kind::Delete) {
        const int star = skip(t, first + 1);
        if (star >= 0 && t[star].text == QLatin1String("*")) t.removeAt(star);
    }
    // The statement's table: after "from", "into" or "update".
    for (int i = 0; i < t.size(); ++i) {
        if (isWord(t[i], "from") || isWord(t[i], "into") || (i == first && isWord(t[i], "update"))) {
            const int j = skip(t, i + 1);
            if (j >= 0 && t[j].type == Tok::Word) {
                st.table = unbracket(t[j].text);
                // a join or a second table: no single table
                const int k = skip(t, j + 1);
                if (k >= 0 && (t[k].text == QLatin1String(",") || isWord(t[k], "join") ||
                               isWord(t[k], "inner") || isWord(t[k], "left")))
                    st.table.clear();
            }
            break;
        }
    }

    QString out;
    for (int i = 0; i < t.size(); ++i) {
        const Token& tok = t[i];
        if (isWord(tok, "like")) {
            const int j = skip(t, i + 1);
            if (j >= 0 && t[j].type == Tok::String) {
                const QString& pattern = t[j].text;
                const bool wildcard =
                    pattern.contains(QLatin1Char('*')) || pattern.contains(QLatin1Char('?'));
                if (wildcard)
                    out += QStringLiteral("LIKE ") + quoted(likeEscaped(pattern)) +
                           QStringLiteral(" ESCAPE '\\'");
                else
                    out += QStringLiteral("= ") + quoted(pattern) + QStringLiteral(" COLLATE NOCASE");
                i = j;
                continue;
            }
        }
        switch (tok.type) {
        case Tok::String:
            out += quoted(tok.text);
            break;
        case Tok::Word:
            if (tok.text.startsWith(QLatin1Char('[')))
                out += QLatin1Char('"') + unbracket(tok.text) + QLatin1Char('"');
            else
                out += tok.text;
            break;
        default:
            out += tok.text;
        }
    }
    st.sql = out;
    return st;
}

} // namespace JetSql
