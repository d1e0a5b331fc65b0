#pragma once

#include "core/festa/festacatalogue.h"
#include "core/festa/festaconnection.h"
#include "core/festa/festapanelstore.h"
#include "gui/common/form.h"

#include <QDateTime>
#include <functional>

class FestaCataloguePage;
class FestaClosedTillsPage;
class FestaDesksPage;
class FestaPanelModel;
class FestaProductsPage;
class QLabel;
class QTabWidget;
class QTimer;

// The treasurer's panel of the festa ("Painel da Festa"): the festa's and each desk's figures, read live
// from the festa's server while the window shows, the catalogue's editor and every desk's closed tills.
// Every reading runs off the window thread; the figures last read stay shown while the server is away.
class FestaPanelWindow : public Form {
    Q_OBJECT
public:
    // `treasurer`: where and as whom the panel reads the server. `askAdmin`: asks the administrator
    // password; true when it was given (the catalogue is saved only then).
    FestaPanelWindow(const FestaTarget& treasurer, std::function<bool()> askAdmin);
    void showClosedTills(); // shows the window (modal, via showModal) on the closed tills' page

protected:
    void FormShow() override;
    void hideEvent(QHideEvent* event) override;
    void done(int result) override;

private:
    enum Page { Products, Desks, Catalogue, ClosedTills };
    enum class CatalogueRequest { None, Reading, Saving };

    void readServer(bool evenIfPending);
    void readClosedTills();
    void pageShown();
    void showPage(int page);
    void refreshed();
    void failed(const QString& why);
    void answered();
    void readCatalogue();
    void reloadCatalogue();
    void saveCatalogue();
    void catalogueFailed(const QString& why);
    void release(const FestaPanelStore::DeskFigures& keeper);

    std::function<bool()> m_askAdmin;
    FestaPanelModel* m_model = nullptr;          // figures, closed tills and stops
    FestaPanelModel* m_catalogueModel = nullptr; // the catalogue alone, so each answer is the one asked for
    CatalogueRequest m_catalogueRequest = CatalogueRequest::None;
    FestaCatalogue m_saving;
    int m_pending = 0; // answers the figures' model still owes
    QDateTime m_lastRead;

    // Its widgets: other code finds them by their objectName.
private:
    QLabel* l_servidor = nullptr;
    QLabel* l_parcial = nullptr;
    QLabel* l_atualizado = nullptr;
    QTabWidget* tab_paginas = nullptr;
    FestaProductsPage* pg_produtos = nullptr;
    FestaDesksPage* pg_caixas = nullptr;
    FestaCataloguePage* pg_catalogo = nullptr;
    FestaClosedTillsPage* pg_fechados = nullptr;
    QTimer* t_atualizar = nullptr;
};
