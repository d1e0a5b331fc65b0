#pragma once

#include <QString>
#include <optional>

// Where this desk reports in a festa of several desks, kept in the user's configuration
// (~/.config/quorvanta/festa.conf, readable by the user only). No file: no festa server, and the
// program works on its own file alone.
struct FestaSettings {
    QString host; // the treasurer's computer: name or address
    int port = 5432;
    QString database = QStringLiteral("festa");
    QString deskName; // "Caixa 2"
    QString password; // the desks' password the server set-up printed
    // The treasurer's password, on the computer that runs the festa's panel (it reads the server as the
    // treasurer); empty on the other desks.
    QString treasurerPassword;

    // Empty when no festa is configured (no file, or no address in it).
    static std::optional<FestaSettings> load();
    // Raises AppError when the file cannot be written.
    void save() const;
    // Leaves the festa: the desk works alone again.
    static void remove();

    static QString fileName();
    static void setFileName(const QString& file); // empty restores the default

    friend bool operator==(const FestaSettings&, const FestaSettings&) = default;
};
