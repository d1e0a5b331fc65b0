#include "database.h"

#include "core/db/migrations.h"
#include "core/db/sqlscript.h"

#include "core/base/errors.h"
#include "engineerror.h"
#include "ptbrcollation.h"

#include <QAtomicInt>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QUrl>
#include <limits>
#include <memory>

namespace {

QAtomicInt connectionCounter;

QString engineMessage(const QSqlError& e) {
    return EngineError::message(e);
}

int busyTimeout = 5000;

void exec(const QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql)) throw DbError(engineMessage(q.lastError()));
}

QDate parseDate(const QString& text) {
    const QString t = text.trimmed();
    for (const char* f : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd", "dd/MM/yy"}) {
        QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid()) return d;
    }
    // a stored date/time with a time part
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    return dt.isValid() ? dt.date() : QDate();
}

QTime parseTime(const QString& text) {
    const QString t = text.trimmed();
    for (const char* f : {"HH:mm:ss", "H:mm:ss", "HH:mm", "H:mm"}) {
        QTime tm = QTime::fromString(t, QLatin1String(f));
        if (tm.isValid()) return tm;
    }
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    return dt.isValid() ? dt.time() : QTime();
}

// Characters as the engine counts them in length(): a pair of UTF-16 surrogates is one.
int characters(const QString& text) {
    return int(text.toUcs4().size());
}

QString mismatch(const ColumnInfo& c, const QString& text) {
    return QStringLiteral("Tipo de dados incompatível: '%1' não pode ser gravado no campo '%2' de %3.")
        .arg(text, c.name, c.table);
}

} // namespace

Database::Database(const QString& path) : m_path(path) {
    m_connection = QStringLiteral("quorvanta-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("Não foi possível encontrar o arquivo '%1'.").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    db.setDatabaseName(
        QStringLiteral("file:%1?mode=rw").arg(QString::fromUtf8(QUrl::toPercentEncoding(path, "/"))));
    if (!db.open()) {
        const QString msg = engineMessage(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw DbError(QStringLiteral("Não foi possível abrir o arquivo '%1': %2").arg(path, msg));
    }
    try {
        Migrations::refuseNewer(db, path); // before anything is written to it
        exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
        Migrations::apply(db);
        if (!PtBrCollation::registerOn(db))
            throw DbError(QStringLiteral("Não foi possível preparar a ordem alfabética dos nomes."));
        loadSchema();
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

Database::~Database() {
    qDeleteAll(m_prepared); // before the connection they run on
    m_prepared.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void Database::execute(const QString& sql) const {
    QSqlQuery q = prepare(sql);
    run(q);
}

QSqlQuery& Database::prepared(const QString& sql) {
    QSqlQuery*& q = m_prepared[sql];
    if (!q) {
        auto fresh = std::make_unique<QSqlQuery>(handle());
        fresh->setForwardOnly(true);
        if (!fresh->prepare(sql)) {
            m_prepared.remove(sql);
            throw DbError(engineMessage(fresh->lastError()));
        }
        q = fresh.release();
    }
    q->finish();
    return *q;
}

void Database::setBusyTimeout(int milliseconds) {
    busyTimeout = milliseconds;
}

namespace {
QString cannotWrite(const QString& path, const QString& why) {
    return QStringLiteral("Não é possível gravar na base de dados '%1'. %2\n\nO programa será encerrado: sem "
                          "gravar, nenhuma venda, caixa ou conta pode ser registrada.")
        .arg(path, why);
}
} // namespace

void Database::checkWritableFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists()) return; // opening it reports the missing file
    // The engine also writes a journal beside the file, so the folder must take new files too.
    if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        throw DbError(cannotWrite(path, QStringLiteral("O arquivo ou a sua pasta está somente para leitura: "
                                                       "confira a permissão de gravação e se o disco não "
                                                       "está protegido contra gravação.")));
}

void Database::checkWritable() {
    // A write transaction that writes nothing: refused at once by a file that cannot be written.
    QSqlQuery q(handle());
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        const QSqlError e = q.lastError();
        // Another program writing now is no reason to stop: it is reported when a change waits too long.
        if (EngineError::kindOf(e) == EngineError::Kind::Busy) return;
        throw DbError(cannotWrite(m_path, engineMessage(e)));
    }
    if (!q.exec(QStringLiteral("ROLLBACK"))) throw DbError(engineMessage(q.lastError()));
}

Database::Relaxed::Relaxed(Database& db) : m_db(db) {
    QSqlQuery& q = m_db.prepared(QStringLiteral("PRAGMA synchronous=NORMAL"));
    run(q);
}

Database::Relaxed::~Relaxed() {
    // the next change waits for the disk again; a statement that cannot even be prepared here leaves
    // the connection as the engine has it, and the next durable step still commits
    try {
        m_db.prepared(QStringLiteral("PRAGMA synchronous=FULL")).exec();
    } catch (...) {
    }
}

QSqlDatabase Database::handle() const {
    return QSqlDatabase::database(m_connection, false);
}

void Database::loadSchema() {
    QSqlQuery tables(handle());
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw DbError(engineMessage(tables.lastError()));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    if (names.isEmpty())
        throw DbError(QStringLiteral("O arquivo '%1' não contém as tabelas do sistema.").arg(m_path));
    static const QRegularExpression varchar(QStringLiteral(R"(^(VARCHAR|TEXT|CHAR)\s*\(\s*(\d+)\s*\)$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString& table : names) {
        QSqlQuery info(handle());
        if (!info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
            throw DbError(engineMessage(info.lastError()));
        QList<ColumnInfo> cols;
        while (info.next()) {
            ColumnInfo c;
            c.table = table;
            c.name = info.value(1).toString();
            const QString type = info.value(2).toString().trimmed().toUpper();
            const bool pk = info.value(5).toInt() > 0;
            const auto m = varchar.match(type);
            if (m.hasMatch()) {
                c.type = ColumnInfo::Type::Text;
                c.width = m.captured(2).toInt();
            } else if (type == QLatin1String("TEXT") || type == QLatin1String("MEMO")) {
                c.type = ColumnInfo::Type::Memo;
            } else if (type.startsWith(QLatin1String("INT"))) {
                c.type = pk ? ColumnInfo::Type::AutoNumber : ColumnInfo::Type::Integer;
            } else if (type == QLatin1String("DATE")) {
                c.type = ColumnInfo::Type::Date;
            } else if (type == QLatin1String("TIME")) {
                c.type = ColumnInfo::Type::Time;
            } else if (type == QLatin1String("BOOLEAN")) {
                c.type = ColumnInfo::Type::Boolean;
            }
            cols << c;
        }
        m_tables.insert(table.toLower(), cols);
    }
}

const ColumnInfo* Database::column(const QString& table, const QString& name) const {
    const auto it = m_tables.constFind(table.toLower());
    if (it == m_tables.constEnd()) return nullptr;
    for (const ColumnInfo& c : *it)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QVariant Database::toStorage(const ColumnInfo& c, const QVariant& value) const {
    if (value.isNull()) return QVariant();
    const QString text = value.toString();
    switch (c.type) {
    case ColumnInfo::Type::Text:
        if (characters(text) > c.width)
            throw DbError(
                QStringLiteral("O campo '%1' de %2 aceita no máximo %3 caracteres; o valor '%4' tem %5.")
                    .arg(c.name, c.table)
                    .arg(c.width)
                    .arg(characters(text) > 60 ? text.left(57) + QStringLiteral("...") : text)
                    .arg(characters(text)));
        return text;
    case ColumnInfo::Type::Memo:
        return text;
    case ColumnInfo::Type::Integer:
    case ColumnInfo::Type::AutoNumber: {
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
            value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::ULongLong) {
            const qlonglong n = value.toLongLong();
            if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
                throw DbError(mismatch(c, text));
            return n;
        }
        if (text.trimmed().isEmpty()) return QVariant();
        bool ok = false;
        const int v = text.trimmed().toInt(&ok); // a 32-bit integer column
        if (!ok) throw DbError(mismatch(c, text));
        return v;
    }
    case ColumnInfo::Type::Date: {
        const QDate d = value.typeId() == QMetaType::QDate ? value.toDate() : parseDate(text);
        if (!d.isValid()) throw DbError(mismatch(c, text));
        return d.toString(Qt::ISODate);
    }
    case ColumnInfo::Type::Time: {
        const QTime t = value.typeId() == QMetaType::QTime ? value.toTime() : parseTime(text);
        if (!t.isValid()) throw DbError(mismatch(c, text));
        return t.toString(QStringLiteral("HH:mm:ss"));
    }
    case ColumnInfo::Type::Boolean:
        if (value.typeId() == QMetaType::Bool) return value.toBool() ? 1 : 0;
        return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1")
                   ? 1
                   : 0;
    case ColumnInfo::Type::Other:
        break;
    }
    return value;
}

QVariant Database::storable(const QString& table, const QString& name, const QVariant& value) const {
    const ColumnInfo* c = column(table, name);
    if (!c) throw DbError(QStringLiteral("O campo '%1' não existe em %2.").arg(name, table));
    return toStorage(*c, value);
}

QSqlQuery Database::prepare(const QString& sql) const {
    QSqlQuery q(handle());
    if (!q.prepare(sql)) EngineError::raise(q.lastError());
    return q;
}

QString Database::displayText(const ColumnInfo* c, const QVariant& value) {
    if (value.isNull()) return QString();
    if (c) {
        if (c->type == ColumnInfo::Type::Date) {
            const QDate d = parseDate(value.toString());
            return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : value.toString();
        }
        if (c->type == ColumnInfo::Type::Time) {
            const QTime t = parseTime(value.toString());
            return t.isValid() ? t.toString(QStringLiteral("HH:mm:ss")) : value.toString();
        }
        if (c->type == ColumnInfo::Type::Boolean)
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return value.toString();
}

void Database::run(QSqlQuery& query) {
    if (!query.exec()) throw DbError(engineMessage(query.lastError()));
}

void Database::transaction(const std::function<void()>& f) {
    if (m_depth > 0) { // part of the transaction already open: it commits or rolls back as a whole
        f();
        return;
    }
    QSqlDatabase db = handle();
    // The write lock is taken at the start (waiting for another connection's change, such as the festa
    // upload's acknowledgement, as long as the busy timeout allows): a transaction that reads before it
    // writes could otherwise fail on its first write when another connection wrote in between.
    if (QSqlQuery begin(db); !begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DbError(engineMessage(begin.lastError()));
    ++m_depth;
    try {
        f();
    } catch (...) {
        --m_depth;
        db.rollback();
        throw;
    }
    --m_depth;
    if (!db.commit()) {
        const QString msg = engineMessage(db.lastError());
        db.rollback();
        throw DbError(msg);
    }
}

namespace {} // namespace

void Database::createDelivered(const QString& path) {
    if (QFileInfo::exists(path)) throw DbError(QStringLiteral("O arquivo '%1' já existe.").arg(path));
    const QString name = QStringLiteral("quorvanta-create-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) throw DbError(engineMessage(db.lastError()));
        try {
            exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
            if (!db.transaction()) throw DbError(engineMessage(db.lastError()));
            for (const QString& script : {QStringLiteral(":/db/schema.sql"), QStringLiteral(":/db/seed.sql")})
                for (const QString& st : SqlScript::statements(script))
                    exec(db, st);
            Migrations::markLatest(db);
            if (!db.commit()) throw DbError(engineMessage(db.lastError()));
        } catch (...) {
            db.rollback();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(path);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
