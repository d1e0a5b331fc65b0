#pragma once

// core/db: the SQLite file, its data module, the engine's errors in Portuguese, the name order and the
// schema's migrations.

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>

// What the layer knows of one column, read from the declared types of the schema:
// VARCHAR(n) is text of at most n characters, TEXT a memo, INTEGER, DATE, TIME, BOOLEAN.
struct ColumnInfo {
    enum class Type { Text, Memo, Integer, AutoNumber, Date, Time, Boolean, Other };
    QString table;
    QString name;
    Type type = Type::Other;
    int width = 0; // characters, for Text
};

// One SQLite file, opened read-write (never created), every change durable when the call returns.
class Database {
public:
    explicit Database(const QString& path); // raises DbError
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase handle() const;

    // How long a change waits for another program's lock before it gives up (for connections
    // opened afterwards). A few seconds unless a test shortens it.
    static void setBusyTimeout(int milliseconds);

    // Raises DbError when the file cannot be written (read-only file or folder, damaged file).
    void checkWritable();
    // The same check on the file system alone, before the file is opened.
    static void checkWritableFile(const QString& path);
    QString path() const { return m_path; }

    // The column of a table, or nullptr when the layer does not know it.
    const ColumnInfo* column(const QString& table, const QString& name) const;

    // Converts a value for storing into its column, as the engine would: text into integer and
    // date/time columns, refusing a text wider than its column or one that cannot be converted.
    QVariant toStorage(const ColumnInfo& column, const QVariant& value) const;

    // The value converted for storing into that column of that table (toStorage), or raises DbError
    // when the layer does not know the column.
    QVariant storable(const QString& table, const QString& column, const QVariant& value) const;

    // A statement in the engine's SQL, prepared on this connection; raises DbError when refused.
    QSqlQuery prepare(const QString& sql) const;

    // A stored value shown as text: integers in decimal digits, dates as 25/12/2009, times as 14:05:33.
    static QString displayText(const ColumnInfo* column, const QVariant& value);

    // Runs a prepared statement; an engine error raises DbError with the user's message.
    static void run(QSqlQuery& query);

    // Runs a statement that takes no values.
    void execute(const QString& sql) const;

    // A statement prepared once on this connection and kept for reuse, for the steps that run on every
    // key press. Read it whole, or finish() it, before the next use.
    QSqlQuery& prepared(const QString& sql);

    // While alive, changes are safe from a crash of the program but reach the disk only with the next
    // durable change (no wait for the disk): for a key press, whose line is made durable before its
    // sale's first ticket prints.
    class Relaxed {
    public:
        explicit Relaxed(Database& db);
        ~Relaxed();
        Relaxed(const Relaxed&) = delete;
        Relaxed& operator=(const Relaxed&) = delete;

    private:
        Database& m_db;
    };

    // Runs f inside one transaction: everything it wrote stays, or nothing does. Called while another
    // runs, f becomes part of that one.
    void transaction(const std::function<void()>& f);

    // Creates a new database file from the delivered schema and seed.
    static void createDelivered(const QString& path);

private:
    void loadSchema();
    QString m_path;
    QString m_connection;
    QHash<QString, QList<ColumnInfo>> m_tables; // by lower-case table name
    QHash<QString, QSqlQuery*> m_prepared;
    int m_depth = 0; // transactions open
};
