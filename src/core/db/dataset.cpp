#include "dataset.h"

#include "core/base/errors.h"
#include "engineerror.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString rowidColumn = QStringLiteral("__rowid__");

[[noreturn]] void raise(const QSqlError& e) {
    EngineError::raise(e);
}

} // namespace

Dataset::Dataset(Database& db, const QString& name, const QString& defaultSql,
                 const QStringList& declaredFields, QObject* parent)
    : QObject(parent), m_db(db), m_declared(declaredFields) {
    setObjectName(name);
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+(\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    m_defaultTable = from.match(defaultSql).captured(1);
    m_sql = defaultSql;
    m_queryTable = m_defaultTable;
}

void Dataset::setQuery(const QString& sql, const QString& table, const QVariantHash& values) {
    close();
    m_sql = sql;
    m_queryTable = table;
    m_values = values;
}

void Dataset::close() {
    if (m_state == State::Inactive) return;
    m_state = State::Inactive;
    m_rows.clear();
    m_fields.clear();
    m_fieldIndex.clear();
    m_columns.clear();
    m_cur = -1;
    m_eof = true;
    emit reset();
}

void Dataset::open() {
    if (m_state != State::Inactive) return;
    QString text = m_sql;
    const QString table = m_queryTable;
    if (!table.isEmpty()) {
        // keep each row's identity, so an edited row can be written back
        const int at = text.indexOf(QLatin1String("select"), 0, Qt::CaseInsensitive);
        text.insert(at + 6, QStringLiteral(" rowid AS %1,").arg(rowidColumn));
    }
    QSqlQuery q(m_db.handle());
    q.setForwardOnly(true);
    if (!q.prepare(text)) raise(q.lastError());
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        if (text.contains(QLatin1Char(':') + it.key())) q.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q.exec()) raise(q.lastError());

    const QSqlRecord rec = q.record();
    QVector<int> source;
    QStringList fields;
    const int rowidAt = rec.indexOf(rowidColumn);
    if (!m_declared.isEmpty()) {
        for (const QString& f : m_declared) {
            const int i = rec.indexOf(f);
            if (i < 0) throw DbError(QStringLiteral("%1: campo '%2' não encontrado.").arg(name(), f));
            source << i;
            fields << f;
        }
    } else {
        for (int i = 0; i < rec.count(); ++i) {
            if (i == rowidAt) continue;
            source << i;
            fields << rec.fieldName(i);
        }
    }
    QVector<Row> rows;
    while (q.next()) {
        Row r;
        r.rowid = rowidAt >= 0 ? q.value(rowidAt).toLongLong() : -1;
        r.values.reserve(source.size());
        for (int i : source)
            r.values << q.value(i);
        rows << std::move(r);
    }
    if (q.lastError().isValid()) raise(q.lastError());

    m_table = table;
    m_fields = fields;
    m_fieldIndex.clear();
    m_columns.clear();
    for (int i = 0; i < fields.size(); ++i) {
        m_fieldIndex.insert(fields[i].toLower(), i);
        m_columns << (m_table.isEmpty() ? nullptr : m_db.column(m_table, fields[i]));
    }
    m_rows = std::move(rows);
    m_cur = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    m_state = State::Browse;
    emit reset();
}

void Dataset::execSql() {
    close();
    QSqlQuery q(m_db.handle());
    if (!q.prepare(m_sql)) raise(q.lastError());
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q.exec()) raise(q.lastError());
}

void Dataset::requireActive(const char* what) const {
    if (m_state == State::Inactive)
        throw DbError(QStringLiteral("%1: operação '%2' com o conjunto de dados fechado.")
                          .arg(name(), QLatin1String(what)));
}

void Dataset::first() {
    requireActive("first");
    if (m_state == State::Edit || m_state == State::Insert) post();
    m_cur = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    emit currentChanged();
}

void Dataset::next() {
    requireActive("next");
    if (m_state == State::Edit || m_state == State::Insert) post();
    if (m_cur + 1 < m_rows.size()) {
        ++m_cur;
        emit currentChanged();
    } else {
        m_eof = true;
    }
}

void Dataset::last() {
    requireActive("last");
    if (m_state == State::Edit || m_state == State::Insert) post();
    m_cur = int(m_rows.size()) - 1;
    m_eof = m_rows.isEmpty();
    emit currentChanged();
}

bool Dataset::eof() const {
    return m_state == State::Inactive || m_eof;
}

void Dataset::setRecNo(int row) {
    requireActive("recno");
    if (row < 0 || row >= m_rows.size() || row == m_cur) return;
    if (m_state == State::Edit || m_state == State::Insert) post();
    m_cur = row;
    m_eof = false;
    emit currentChanged();
}

int Dataset::index(const QString& field) const {
    const auto it = m_fieldIndex.constFind(field.toLower());
    if (it == m_fieldIndex.constEnd())
        throw DbError(QStringLiteral("%1: campo '%2' não encontrado.").arg(name(), field));
    return *it;
}

const ColumnInfo* Dataset::columnOf(int i) const {
    return i >= 0 && i < m_columns.size() ? m_columns[i] : nullptr;
}

QVariant Dataset::value(const QString& field) const {
    requireActive("field");
    const int i = index(field);
    if (m_cur < 0) return QVariant();
    return m_rows[m_cur].values[i];
}

QString Dataset::asString(const QString& field) const {
    requireActive("field");
    const int i = index(field);
    if (m_cur < 0) return QString();
    return Database::displayText(columnOf(i), m_rows[m_cur].values[i]);
}

int Dataset::asInteger(const QString& field) const {
    const QVariant v = value(field);
    if (v.isNull()) return 0;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (!ok) throw ConversionError(QStringLiteral("'%1' não é um valor inteiro válido").arg(v.toString()));
    return n;
}

QString Dataset::text(int row, const QString& field) const {
    if (m_state == State::Inactive || row < 0 || row >= m_rows.size()) return QString();
    const auto it = m_fieldIndex.constFind(field.toLower());
    if (it == m_fieldIndex.constEnd()) return QString();
    return Database::displayText(columnOf(*it), m_rows[row].values[*it]);
}

int Dataset::fieldWidth(const QString& field) const {
    const auto it = m_fieldIndex.constFind(field.toLower());
    if (it != m_fieldIndex.constEnd()) {
        const ColumnInfo* c = columnOf(*it);
        return c && c->type == ColumnInfo::Type::Text ? c->width : 0;
    }
    // not open: look the declared field up in the default statement's table
    const ColumnInfo* c = m_db.column(m_defaultTable, field);
    return c && c->type == ColumnInfo::Type::Text ? c->width : 0;
}

void Dataset::setValue(const QString& field, const QVariant& v) {
    requireActive("field");
    const int i = index(field);
    if (m_state == State::Browse) edit();
    if (m_cur < 0) return;
    const ColumnInfo* c = columnOf(i);
    if (c && c->type == ColumnInfo::Type::AutoNumber)
        throw DbError(QStringLiteral("O campo '%1' não pode ser modificado.").arg(c->name));
    m_rows[m_cur].values[i] = v;
    m_modified[i] = true;
    emit currentChanged();
}

void Dataset::edit() {
    requireActive("edit");
    if (m_state == State::Edit || m_state == State::Insert) return;
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    m_saved = m_rows[m_cur];
    m_modified = QVector<bool>(m_fields.size(), false);
    m_state = State::Edit;
    emit currentChanged();
}

void Dataset::append() {
    requireActive("append");
    if (m_state == State::Edit || m_state == State::Insert) post();
    Row r;
    r.values = QVector<QVariant>(m_fields.size());
    m_rows.append(r);
    m_cur = int(m_rows.size()) - 1;
    m_eof = false;
    m_modified = QVector<bool>(m_fields.size(), false);
    m_state = State::Insert;
    emit reset();
}

void Dataset::insert() {
    requireActive("insert");
    if (m_state == State::Edit || m_state == State::Insert) post();
    Row r;
    r.values = QVector<QVariant>(m_fields.size());
    const int at = m_cur < 0 ? 0 : m_cur;
    m_rows.insert(at, r);
    m_cur = at;
    m_eof = false;
    m_modified = QVector<bool>(m_fields.size(), false);
    m_state = State::Insert;
    emit reset();
}

void Dataset::reloadRow(Row& row) {
    QSqlQuery q(m_db.handle());
    if (!q.prepare(QStringLiteral("SELECT * FROM \"%1\" WHERE rowid = ?").arg(m_table))) raise(q.lastError());
    q.addBindValue(row.rowid);
    if (!q.exec()) raise(q.lastError());
    if (!q.next()) return;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < m_fields.size(); ++i) {
        const int at = rec.indexOf(m_fields[i]);
        if (at >= 0) row.values[i] = q.value(at);
    }
}

void Dataset::post() {
    requireActive("post");
    if (m_state == State::Browse) return;
    if (m_table.isEmpty())
        throw DbError(QStringLiteral("%1: não é possível gravar o resultado deste comando.").arg(name()));
    Row& row = m_rows[m_cur];
    QStringList cols;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_modified[i]) continue;
        const ColumnInfo* c = columnOf(i);
        if (!c)
            throw DbError(
                QStringLiteral("%1: campo '%2' não pertence a %3.").arg(name(), m_fields[i], m_table));
        cols << c->name;
        values << m_db.toStorage(*c, row.values[i]);
    }
    auto insertRow = [&](const QStringList& columns, const QVariantList& rowValues) {
        QString text;
        if (columns.isEmpty()) {
            text = QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(m_table);
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            text =
                QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
                    .arg(m_table, columns.join(QStringLiteral("\", \"")), marks.join(QStringLiteral(", ")));
        }
        QSqlQuery q(m_db.handle());
        if (!q.prepare(text)) raise(q.lastError());
        for (const QVariant& v : rowValues)
            q.addBindValue(v);
        if (!q.exec()) raise(q.lastError());
        row.rowid = q.lastInsertId().toLongLong();
    };
    if (m_state == State::Insert) {
        insertRow(cols, values);
    } else if (!cols.isEmpty()) {
        QStringList sets;
        for (const QString& c : cols)
            sets << QStringLiteral("\"%1\" = ?").arg(c);
        QSqlQuery q(m_db.handle());
        if (!q.prepare(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                           .arg(m_table, sets.join(QStringLiteral(", ")))))
            raise(q.lastError());
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.addBindValue(row.rowid);
        if (!q.exec()) raise(q.lastError());
        if (q.numRowsAffected() == 0) {
            // The row was removed behind the program (another program, a restored file): it is
            // written again whole, as shown, rather than the change being lost without a word.
            QStringList allColumns;
            QVariantList allValues;
            for (int i = 0; i < m_fields.size(); ++i) {
                const ColumnInfo* c = columnOf(i);
                if (!c) continue;
                allColumns << c->name;
                allValues << m_db.toStorage(*c, row.values[i]);
            }
            insertRow(allColumns, allValues);
        }
    }
    reloadRow(row);
    m_state = State::Browse;
    emit currentChanged();
}

void Dataset::remove() {
    requireActive("delete");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit) cancel();
    if (m_cur < 0) return;
    if (m_table.isEmpty())
        throw DbError(QStringLiteral("%1: não é possível excluir deste resultado.").arg(name()));
    QSqlQuery q(m_db.handle());
    if (!q.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(m_table))) raise(q.lastError());
    q.addBindValue(m_rows[m_cur].rowid);
    if (!q.exec()) raise(q.lastError());
    m_rows.removeAt(m_cur);
    if (m_cur >= m_rows.size()) m_cur = int(m_rows.size()) - 1;
    m_eof = m_rows.isEmpty();
    emit reset();
}

void Dataset::cancel() {
    if (m_state == State::Edit) {
        m_rows[m_cur] = m_saved;
        m_state = State::Browse;
        emit currentChanged();
    } else if (m_state == State::Insert) {
        m_rows.removeAt(m_cur);
        if (m_cur >= m_rows.size()) m_cur = int(m_rows.size()) - 1;
        m_eof = m_rows.isEmpty();
        m_state = State::Browse;
        emit reset();
    }
}
