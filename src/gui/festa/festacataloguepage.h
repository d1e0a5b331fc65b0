#pragma once

#include "core/festa/festacatalogue.h"

#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The panel's "Catálogo" page: the twenty product keys (name, printed name, price, tickets per unit) and
// the tickets' header and footer, edited here and saved on the server as a new version.
class FestaCataloguePage : public QWidget {
    Q_OBJECT
public:
    explicit FestaCataloguePage(QWidget* parent = nullptr);

    // Shows the server's catalogue; the edits made so far are dropped.
    void setCatalogue(const FestaCatalogue& catalogue);
    bool isLoaded() const { return m_loaded; }
    bool isModified() const { return m_modified; }
    // Forget what was shown: the next showing reads the server again.
    void unload() { m_loaded = false; }

    // The catalogue as edited, checked for what the server and the desks accept; nothing (after telling
    // what is wrong and putting the cursor there) when something is not.
    std::optional<FestaCatalogue> edited();

    void setBusy(bool busy);
    // The catalogue as saved (with its version) shown as the server now has it.
    void showSaved(const FestaCatalogue& saved);
    void showProblem(const QString& text);
    QWidget* focusTarget() const;

signals:
    void saveAsked();
    void reloadAsked();

private:
    void refuse(int row, int column, const QString& text);
    void cellEdited(int row, int column);

    bool m_loading = false;
    bool m_loaded = false;
    bool m_modified = false;

    QLabel* l_versao = nullptr;
    QLineEdit* edt_cabecalho = nullptr;
    QLineEdit* edt_rodape = nullptr;
    QTableWidget* tbl_catalogo = nullptr;
    QLabel* l_catalogo = nullptr;
    QPushButton* bt_recarregar = nullptr;
    QPushButton* bt_salvar_catalogo = nullptr;
};
