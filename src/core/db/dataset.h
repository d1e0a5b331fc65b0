#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "database.h"

// A dataset holds one statement in the engine's SQL with its bound values and, once opened, every row
// of its result (a static cursor). The windows replace the statement and open or execute it; bound
// widgets follow its current row.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // The default statement reads one whole table ("select * from <table>"); its rows are written
    // back to that table.
    Dataset(Database& db, const QString& name, const QString& defaultSql,
            const QStringList& declaredFields = {}, QObject* parent = nullptr);

    QString name() const { return objectName(); }

    // The statement, in the engine's SQL.
    QString sql() const { return m_sql; }

    // A statement in the engine's own SQL whose values are bound by name (":name"), never pasted into
    // the text; `table` is the one table its rows are written back to (empty: none). Replaces the
    // statement; an open dataset is closed.
    void setQuery(const QString& sql, const QString& table, const QVariantHash& values = {});

    void open();    // runs a select and stands on its first row
    void close();   // drops the rows and any unposted change
    void execSql(); // runs the statement as an insert, update or delete; the dataset stays closed
    bool isActive() const { return m_state != State::Inactive; }

    // Navigation over the rows in the order returned.
    void first();
    void next();
    void last();
    bool eof() const;
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recordCount() const { return int(m_rows.size()); }
    int recNo() const { return m_cur; } // 0-based; -1 with no rows
    void setRecNo(int row);

    // Fields of the current row, by name (letter case ignored).
    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int i) const { return m_fields.at(i); }
    bool hasField(const QString& name) const { return m_fieldIndex.contains(name.toLower()); }
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;
    QVariant value(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    int fieldWidth(const QString& field) const; // text width, 0 when not a text column

    // For grids: any row, any field.
    QString text(int row, const QString& field) const;

    // Editing: the row is written into the statement's table on post.
    State state() const { return m_state; }
    void edit();   // on an empty result, starts a new row
    void append(); // new row at the end
    void insert(); // new row at the current position
    void post();
    void remove(); // deletes the current row from the table; nothing when there is none
    void cancel();

    Database& database() const { return m_db; }
    QString table() const { return m_table; }

signals:
    void reset();          // opened, closed or the set of rows changed
    void currentChanged(); // moved, edited or posted

private:
    struct Row {
        qint64 rowid = -1;
        QVector<QVariant> values;
    };
    int index(const QString& field) const; // raises DbError for an unknown field
    const ColumnInfo* columnOf(int fieldIndex) const;
    void requireActive(const char* what) const;
    void reloadRow(Row& row);

    Database& m_db;
    QString m_defaultTable; // the table the default statement reads
    QStringList m_declared;
    QString m_sql;
    QString m_queryTable;
    QVariantHash m_values;

    State m_state = State::Inactive;
    QString m_table;
    QStringList m_fields;
    QHash<QString, int> m_fieldIndex;
    QVector<const ColumnInfo*> m_columns;
    QVector<Row> m_rows;
    int m_cur = -1;
    bool m_eof = true;

    Row m_saved; // the row as it was before edit, for cancel
    QVector<bool> m_modified;
};
