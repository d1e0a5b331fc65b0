#pragma once

#include "core/festa/festasettings.h"
#include "core/festa/festauploader.h"

#include <QObject>
#include <QTimer>

class Database;
class TillModel;

// A desk in a festa, on the window thread: joins the festa on its first start with these settings (the
// snapshot of its till is the first row it reports), runs the upload and applies a downloaded catalogue
// as soon as the till is between two sales, never in the middle of one. Made only when a festa server is
// configured; without one the program runs exactly as on its own.
class FestaDesk : public QObject {
    Q_OBJECT
public:
    FestaDesk(Database& db, TillModel& till, const FestaSettings& settings,
              const FestaUploader::Timing& timing = FestaUploader::Timing(), QObject* parent = nullptr);

    // The upload's state with the rows waiting counted in the desk file as they are booked, and the server
    // called silent as soon as an exchange takes longer than a normal one.
    FestaUploadState state() const;
    QString statusLine() const;
    FestaUploader& uploader() { return m_uploader; }
    // Applies a waiting catalogue now when the till is between two sales; returns the version applied
    // (0: none).
    int applyCatalogue();

signals:
    void stateChanged();
    void stopped(const QString& why);
    void catalogueApplied(int version);

private:
    void catalogueWaiting();

    Database& m_db;
    TillModel& m_till;
    FestaUploader m_uploader;
    bool silent() const;
    void watch();

    FestaUploader::Timing m_timing;
    QTimer m_clock; // the line's "há N min" moves on
    QTimer m_watch; // an exchange under way for too long
    bool m_silent = false;
    bool m_catalogueWaiting = false;
};
