#include "dbwidgets.h"

#include "keyfilter.h"
#include "messages.h"

#include <QFont>
#include <QHeaderView>
#include <QMouseEvent>

DBEdit::DBEdit(QWidget* parent, const QString& objectName, Dataset* dataset, const QString& field)
    : QLineEdit(parent) {
    setObjectName(objectName);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
    if (dataset) bind(dataset, field);
}

void DBEdit::bind(Dataset* dataset, const QString& field) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    KeyFilter::limitWidth(this, dataset->fieldWidth(field));
    connect(dataset, &Dataset::reset, this, &DBEdit::refresh);
    connect(dataset, &Dataset::currentChanged, this, &DBEdit::refresh);
    refresh();
}

void DBEdit::refresh() {
    if (m_writing) return;
    QString text;
    if (m_dataset && m_dataset->isActive() && m_dataset->hasField(m_field))
        text = m_dataset->asString(m_field);
    if (text != this->text()) setText(text);
}

void DBEdit::typed(const QString& text) {
    if (!m_dataset || !m_dataset->isActive()) return;
    m_writing = true;
    Messages::guarded(this, [&] {
        if (m_dataset->state() == Dataset::State::Browse) m_dataset->edit();
        m_dataset->setValue(m_field, text);
    });
    m_writing = false;
}

DBMemo::DBMemo(QWidget* parent, const QString& objectName, Dataset* dataset, const QString& field)
    : QPlainTextEdit(parent) {
    setObjectName(objectName);
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (dataset) bind(dataset, field);
}

void DBMemo::bind(Dataset* dataset, const QString& field) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    m_field = field;
    connect(dataset, &Dataset::reset, this, &DBMemo::refresh);
    connect(dataset, &Dataset::currentChanged, this, &DBMemo::refresh);
    refresh();
}

void DBMemo::refresh() {
    QString text;
    if (m_dataset && m_dataset->isActive() && m_dataset->hasField(m_field))
        text = m_dataset->asString(m_field);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text != toPlainText()) setPlainText(text);
}

DatasetModel::DatasetModel(QObject* parent, Dataset* dataset, QList<GridColumn> columns)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {
    bind(dataset);
}

void DatasetModel::bind(Dataset* dataset) {
    beginResetModel();
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (dataset) {
        connect(dataset, &Dataset::reset, this, [this] {
            beginResetModel();
            endResetModel();
        });
        connect(dataset, &Dataset::currentChanged, this, [this] {
            if (m_dataset && m_dataset->recNo() >= 0 && m_dataset->recNo() < rowCount())
                emit dataChanged(index(m_dataset->recNo(), 0), index(m_dataset->recNo(), columnCount() - 1));
        });
    }
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_dataset || !m_dataset->isActive()) return 0;
    return m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_dataset) return {};
    const GridColumn& c = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return m_dataset->text(index.row(), c.field);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
    case Qt::FontRole:
        if (c.bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size()) return {};
    if (role == Qt::DisplayRole) return m_columns[section].title;
    return {};
}

DBGrid::DBGrid(QWidget* parent, const QString& objectName, Dataset* dataset, QList<GridColumn> columns)
    : QTableView(parent) {
    setObjectName(objectName);
    QList<int> widths;
    for (const GridColumn& c : columns)
        widths << c.width;
    m_model = new DatasetModel(this, nullptr, std::move(columns));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    QFont hf = horizontalHeader()->font();
    hf.setBold(true);
    horizontalHeader()->setFont(hf);
    for (int i = 0; i < widths.size(); ++i) {
        if (widths[i] > 0) setColumnWidth(i, widths[i]);
    }
    horizontalHeader()->setStretchLastSection(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& cur) {
        if (m_syncing || !cur.isValid() || !m_model->dataset()) return;
        if (!Messages::guarded(this, [&] { m_model->dataset()->setRecNo(cur.row()); }))
            followDataset(); // the row could not be left: show the one the data is still on
    });
    if (dataset) bind(dataset);
}

void DBGrid::bind(Dataset* dataset) {
    if (m_model->dataset()) disconnect(m_model->dataset(), nullptr, this, nullptr);
    m_model->bind(dataset);
    connect(dataset, &Dataset::reset, this, &DBGrid::followDataset);
    connect(dataset, &Dataset::currentChanged, this, &DBGrid::followDataset);
    followDataset();
}

void DBGrid::followDataset() {
    Dataset* d = m_model->dataset();
    if (!d || !d->isActive() || d->recNo() < 0) return;
    m_syncing = true;
    const QModelIndex idx = m_model->index(d->recNo(), 0);
    if (selectionModel()->currentIndex().row() != idx.row()) {
        // a grid that is only read shows no highlighted row
        const auto how = selectionMode() == QAbstractItemView::NoSelection
                             ? QItemSelectionModel::SelectionFlags(QItemSelectionModel::NoUpdate)
                             : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        selectionModel()->setCurrentIndex(idx, how);
    }
    m_syncing = false;
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit rowChosen();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid() &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit rowChosen();
        return;
    }
    QTableView::keyPressEvent(event);
}
