#include "printserver.h"

#include "core/base/errors.h"
#include "printserverlink.h"

#include <QDir>
#include <QHash>
#include <QIODevice>
#include <QMutex>

#include <cups/cups.h>

namespace {

using namespace PrintServerLink;

QString& printerNameSetting() {
    static QString n;
    return n;
}

// The printer the last job went to: read by worker threads (the status line), written by the printing.
QMutex& rememberedMutex() {
    static QMutex m;
    return m;
}
QString& rememberedName() {
    static QString n;
    return n;
}

struct DestDeleter {
    void operator()(cups_dest_t* d) const { cupsFreeDests(1, d); }
};
using Dest = std::unique_ptr<cups_dest_t, DestDeleter>;

// Looks a printer up: the one named, or the default one (with none, the one remembered).
Dest lookUp(http_t* http, const QString& name) {
    if (!name.isEmpty()) return Dest(cupsGetNamedDest(http, name.toUtf8().constData(), nullptr));
    Dest d(cupsGetNamedDest(http, nullptr, nullptr));
    if (d || !lastErrorIsNotFound()) return d;
    const QString remembered = SystemPrintSink::rememberedPrinter();
    if (remembered.isEmpty()) return d;
    return Dest(cupsGetNamedDest(http, remembered.toUtf8().constData(), nullptr));
}

// Asks the server for a printer's state over an open connection.
PrintServer::PrinterStatus queryStatus(http_t* http, cups_dest_t* dest) {
    using PrintServer::PrinterStatus;
    PrinterStatus st;
    st.printer = QString::fromUtf8(dest->name);
    const char* uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    char built[HTTP_MAX_URI];
    if (!uri) {
        httpAssembleURIf(HTTP_URI_CODING_ALL, built, sizeof built, "ipp", nullptr, "localhost", ippPort(),
                         "/printers/%s", dest->name);
        uri = built;
    }
    static const char* const wanted[] = {"printer-state", "printer-state-reasons", "printer-state-message",
                                         "printer-is-accepting-jobs", "printer-make-and-model"};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        ippDelete(response);
        st.state = lastErrorIsNotFound() ? PrinterStatus::State::NoPrinter : PrinterStatus::State::NoServer;
        return st;
    }
    const int state = ippGetInteger(ippFindAttribute(response, "printer-state", IPP_TAG_ENUM), 0);
    st.state = state == IPP_PSTATE_STOPPED      ? PrinterStatus::State::Stopped
               : state == IPP_PSTATE_PROCESSING ? PrinterStatus::State::Printing
                                                : PrinterStatus::State::Ready;
    st.accepting = ippGetBoolean(ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN), 0);
    ipp_attribute_t* reasons = ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; i < ippGetCount(reasons); ++i) {
        const QString r = attributeText(reasons, i);
        if (!r.isEmpty() && r != QLatin1String("none")) st.reasons << r;
    }
    st.message = attributeText(ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT)).trimmed();
    st.makeAndModel = attributeText(ippFindAttribute(response, "printer-make-and-model", IPP_TAG_TEXT));
    ippDelete(response);
    return st;
}

// The printer's state as the look-up brought it (state, reasons, whether it accepts jobs), without asking
// again; the server's message is asked only when there is something to explain.
PrintServer::PrinterStatus statusOf(http_t* http, cups_dest_t* dest) {
    using PrintServer::PrinterStatus;
    const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    if (!state || !accepting) return queryStatus(http, dest);
    PrinterStatus st;
    st.printer = QString::fromUtf8(dest->name);
    const int s = atoi(state);
    st.state = s == IPP_PSTATE_STOPPED      ? PrinterStatus::State::Stopped
               : s == IPP_PSTATE_PROCESSING ? PrinterStatus::State::Printing
                                            : PrinterStatus::State::Ready;
    st.accepting = qstrcmp(accepting, "true") == 0;
    const QString reasons =
        QString::fromUtf8(cupsGetOption("printer-state-reasons", dest->num_options, dest->options));
    for (const QString& r : reasons.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (r.trimmed() != QLatin1String("none")) st.reasons << r.trimmed();
    st.makeAndModel =
        QString::fromUtf8(cupsGetOption("printer-make-and-model", dest->num_options, dest->options));
    return st.problem().isEmpty() ? st : queryStatus(http, dest);
}

// What the print server says about a printer's capabilities, asked once per printer and run: it takes
// longer to get than a whole ticket takes to print. Dropped when a job to that printer fails.
class DestInfoCache {
public:
    ~DestInfoCache() {
        for (cups_dinfo_t* i : std::as_const(m_infos))
            cupsFreeDestInfo(i);
    }
    cups_dinfo_t* get(http_t* http, cups_dest_t* dest) {
        const QString name = QString::fromUtf8(dest->name);
        if (cups_dinfo_t* i = m_infos.value(name)) return i;
        cups_dinfo_t* i = cupsCopyDestInfo(http, dest);
        if (i) m_infos.insert(name, i);
        return i;
    }
    void drop(const QString& name) {
        if (cups_dinfo_t* i = m_infos.take(name)) cupsFreeDestInfo(i);
    }

private:
    QHash<QString, cups_dinfo_t*> m_infos;
};

DestInfoCache& destInfos() {
    static DestInfoCache cache; // used by the printing, on one thread
    return cache;
}

// The server's refusal of a request, in Portuguese.
QString refusalText() {
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("a fila não está aceitando trabalhos");
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_GONE:
        return QStringLiteral("a impressora não existe no servidor de impressão");
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        return QStringLiteral("sem permissão para imprimir nesta impressora");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
    case IPP_STATUS_ERROR_TEMPORARY:
    case IPP_STATUS_ERROR_BUSY:
        return QStringLiteral("o servidor de impressão não está disponível");
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return QStringLiteral("a impressora não aceita documentos PDF");
    case IPP_STATUS_ERROR_TOO_MANY_JOBS:
        return QStringLiteral("a fila está cheia");
    case IPP_STATUS_ERROR_INTERNAL:
        return QStringLiteral("o servidor de impressão não respondeu");
    default: {
        const QString detail = QString::fromUtf8(cupsLastErrorString());
        return detail.isEmpty() ? QStringLiteral("erro do servidor de impressão")
                                : QStringLiteral("erro do servidor de impressão (%1)").arg(detail);
    }
    }
}

QByteArray mediaOf(const Report& report) {
    const QSizeF mm = report.pageSizeMm();
    return QStringLiteral("Custom.%1x%2mm").arg(mm.width(), 0, 'f', 2).arg(mm.height(), 0, 'f', 2).toLatin1();
}

} // namespace

// The printer of the batch in progress, looked up and checked before its first job.
struct SystemPrintSink::Batch {
    http_t* http = nullptr;
    Dest dest;
    cups_dinfo_t* info = nullptr; // owned by destInfos()
    QString printer;
    QHash<QByteArray, QByteArray> pages; // a sale's tickets repeat: each different page is rendered once
    bool toFile = false;                 // no printer at all: each job is a PDF file
    bool open = false;

    ~Batch() {
        dest.reset();
        if (http) httpClose(http);
    }

    void start() {
        const QString chosen = SystemPrintSink::printerName();
        const QString known = chosen.isEmpty() ? SystemPrintSink::rememberedPrinter() : chosen;
        Connection connection;
        if (!connection) {
            if (!known.isEmpty())
                throw PrintError(
                    QStringLiteral(
                        "O servidor de impressão não responde: nada foi impresso na impressora \"%1\".")
                        .arg(known));
            toFile = true;
            open = true;
            return;
        }
        dest = lookUp(connection.get(), chosen);
        if (!dest) {
            if (!lastErrorIsNotFound())
                throw PrintError(
                    QStringLiteral("O servidor de impressão não respondeu (%1): nada foi impresso.")
                        .arg(QString::fromUtf8(cupsLastErrorString())));
            if (!chosen.isEmpty())
                throw PrintError(QStringLiteral("A impressora \"%1\" não está instalada.").arg(chosen));
            if (!known.isEmpty())
                throw PrintError(
                    QStringLiteral("A impressora \"%1\" não está mais instalada: nada foi impresso.")
                        .arg(known));
            toFile = true;
            open = true;
            return;
        }
        printer = QString::fromUtf8(dest->name);
        const PrintServer::PrinterStatus status = statusOf(connection.get(), dest.get());
        if (status.state == PrintServer::PrinterStatus::State::NoServer)
            throw PrintError(
                QStringLiteral("O servidor de impressão não respondeu: nada foi impresso na impressora "
                               "\"%1\".")
                    .arg(printer));
        const QString problem = status.problem();
        if (!problem.isEmpty()) throw PrintError(problem + QLatin1Char('.'));
        info = destInfos().get(connection.get(), dest.get());
        if (!info)
            throw PrintError(
                QStringLiteral("A impressora \"%1\" não respondeu: %2.").arg(printer, refusalText()));
        http = connection.release();
        open = true;
    }

    PrintJob submit(const Report& report) {
        const QByteArray key = report.pageKey();
        auto page = pages.constFind(key);
        if (page == pages.constEnd()) page = pages.insert(key, SystemPrintSink::renderPdf(report));
        const QByteArray pdf = *page;
        const QByteArray title = report.jobTitle().toUtf8();
        const QByteArray media = mediaOf(report);
        cups_option_t* options = nullptr;
        int count = cupsAddOption("media", media.constData(), 0, &options);
        count = cupsAddOption("copies", "1", count, &options);
        int id = 0;
        const ipp_status_t created =
            cupsCreateDestJob(http, dest.get(), info, &id, title.constData(), count, options);
        cupsFreeOptions(count, options);
        if (created > IPP_STATUS_OK_CONFLICTING || id <= 0) {
            destInfos().drop(printer);
            throw PrintError(
                QStringLiteral("A impressora \"%1\" recusou a impressão: %2.").arg(printer, refusalText()));
        }
        bool sent = cupsStartDestDocument(http, dest.get(), info, id, title.constData(), CUPS_FORMAT_PDF, 0,
                                          nullptr, 1) == HTTP_STATUS_CONTINUE;
        sent =
            sent && cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
        // Finishing reads the server's answer even after a failed write.
        const ipp_status_t finished = cupsFinishDestDocument(http, dest.get(), info);
        if (!sent || finished > IPP_STATUS_OK_CONFLICTING) {
            const QString why = refusalText();
            cupsCancelDestJob(http, dest.get(), id);
            destInfos().drop(printer);
            throw PrintError(
                QStringLiteral("A impressora \"%1\" recusou a impressão: %2.").arg(printer, why));
        }
        return PrintJob{printer, id};
    }
};

SystemPrintSink::SystemPrintSink() = default;
SystemPrintSink::~SystemPrintSink() = default;

void SystemPrintSink::beginBatch() {
    ++m_depth;
}

void SystemPrintSink::endBatch() {
    if (m_depth > 0 && --m_depth == 0) m_batch.reset();
}

PrintJob SystemPrintSink::print(const Report& report) {
    if (!m_batch) m_batch = std::make_unique<Batch>();
    try {
        if (!m_batch->open) m_batch->start();
        PrintJob job = m_batch->toFile ? PrintJob{writePdf(report, pdfFolder()), 0} : m_batch->submit(report);
        if (!job.isFile()) {
            QMutexLocker lock(&rememberedMutex());
            rememberedName() = job.destination;
        }
        if (m_depth == 0) m_batch.reset();
        return job;
    } catch (...) {
        // The next print looks the printer up and checks it again.
        m_batch.reset();
        throw;
    }
}

QString SystemPrintSink::route() {
    if (!m_batch) m_batch = std::make_unique<Batch>();
    try {
        if (!m_batch->open) m_batch->start();
    } catch (...) {
        m_batch.reset();
        throw;
    }
    return m_batch->toFile ? QStringLiteral("pdf:") + pdfFolder()
                           : QStringLiteral("cups:") + m_batch->printer;
}

QString SystemPrintSink::printerName() {
    return printerNameSetting();
}

void SystemPrintSink::setPrinterName(const QString& name) {
    printerNameSetting() = name;
}

QString SystemPrintSink::rememberedPrinter() {
    QMutexLocker lock(&rememberedMutex());
    return rememberedName();
}

void SystemPrintSink::forgetPrinter() {
    QMutexLocker lock(&rememberedMutex());
    rememberedName().clear();
}

bool SystemPrintSink::hasDefaultPrinter() {
    Connection connection;
    return connection && Dest(cupsGetNamedDest(connection.get(), nullptr, nullptr)) != nullptr;
}

namespace PrintServer {

namespace {
struct Reason {
    const char* keyword;
    const char* text;
    bool stops;
};
// The usual printer-state-reasons keywords (without their -error, -warning or -report suffix).
constexpr Reason reasons[] = {
    {"media-empty", "sem papel", true},
    {"media-needed", "sem papel", true},
    {"media-jam", "papel enroscado", true},
    {"media-low", "pouco papel", false},
    {"cover-open", "tampa aberta", true},
    {"door-open", "porta aberta", true},
    {"interlock-open", "trava aberta", true},
    {"input-tray-missing", "bandeja de papel ausente", true},
    {"output-tray-missing", "bandeja de saída ausente", true},
    {"output-area-full", "bandeja de saída cheia", true},
    {"marker-supply-empty", "sem tinta", true},
    {"toner-empty", "sem toner", true},
    {"marker-supply-low", "pouca tinta", false},
    {"toner-low", "pouco toner", false},
    {"offline", "desligada ou desconectada", true},
    {"shutdown", "desligada", true},
    {"paused", "pausada no servidor de impressão", true},
    {"spool-area-full", "sem espaço para a fila de impressão", true},
    {"connecting-to-device", "conectando à impressora", false},
    {"timed-out", "não responde", true},
    {"fuser-over-temp", "superaquecida", true},
    {"other", "erro na impressora", true},
};

QString baseKeyword(const QString& reason, QString* suffix = nullptr) {
    for (const char* s : {"-error", "-warning", "-report"})
        if (reason.endsWith(QLatin1String(s))) {
            if (suffix) *suffix = QLatin1String(s);
            return reason.chopped(int(qstrlen(s)));
        }
    return reason;
}

const Reason* find(const QString& base) {
    for (const Reason& r : reasons)
        if (base == QLatin1String(r.keyword)) return &r;
    return nullptr;
}
} // namespace

QString reasonText(const QString& reason) {
    const Reason* r = find(baseKeyword(reason));
    return r ? QString::fromUtf8(r->text) : QStringLiteral("erro na impressora (%1)").arg(reason);
}

QStringList stopReasons(const QStringList& all) {
    QStringList out;
    for (const QString& reason : all) {
        QString suffix;
        const QString base = baseKeyword(reason, &suffix);
        if (suffix == QLatin1String("-warning")) continue;
        const Reason* r = find(base);
        if (r ? r->stops : suffix == QLatin1String("-error")) out << reason;
    }
    return out;
}

namespace {
// The stop reasons in Portuguese, each once, then the server's message when it adds something. Brief
// (for the status line): a queue paused with a message shows the message alone.
QString why(const PrinterStatus& st, bool brief = false) {
    QStringList texts;
    QStringList stops = stopReasons(st.reasons);
    if (brief && !st.message.isEmpty()) stops.removeAll(QStringLiteral("paused"));
    for (const QString& r : std::as_const(stops)) {
        const QString t = reasonText(r);
        if (!texts.contains(t)) texts << t;
    }
    if (!st.message.isEmpty() && !texts.contains(st.message)) {
        if (texts.isEmpty()) return st.message;
        return QStringLiteral("%1 (%2)").arg(texts.join(QStringLiteral(", ")), st.message);
    }
    return texts.isEmpty() ? QStringLiteral("motivo desconhecido") : texts.join(QStringLiteral(", "));
}
} // namespace

QString PrinterStatus::problem() const {
    if (!pdfFolder.isEmpty()) return QString(); // every job is written as a file: nothing stops it
    switch (state) {
    case State::NoServer:
        return QStringLiteral("O servidor de impressão não responde");
    case State::NoPrinter:
        return printer.isEmpty() ? QStringLiteral("Não há impressora instalada")
                                 : QStringLiteral("A impressora \"%1\" não está instalada").arg(printer);
    case State::Ready:
    case State::Printing:
    case State::Stopped:
        break;
    }
    if (state == State::Stopped || !stopReasons(reasons).isEmpty())
        return QStringLiteral("A impressora \"%1\" está parada: %2").arg(printer, why(*this));
    if (!accepting) {
        const QString said = message.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(message);
        return QStringLiteral("A impressora \"%1\" não está aceitando trabalhos%2").arg(printer, said);
    }
    return QString();
}

QString PrinterStatus::line() const {
    if (!pdfFolder.isEmpty()) {
        QString folder = QDir::toNativeSeparators(pdfFolder);
        const QString home = QDir::homePath();
        if (folder.startsWith(home + QLatin1Char('/'))) folder.replace(0, home.size(), QStringLiteral("~"));
        return QStringLiteral("Sem impressora: as impressões vão para arquivos PDF em %1").arg(folder);
    }
    switch (state) {
    case State::NoServer:
        return QStringLiteral("Impressora: o servidor de impressão não responde");
    case State::NoPrinter:
        return printer.isEmpty() ? QStringLiteral("Sem impressora")
                                 : QStringLiteral("Impressora %1: não instalada").arg(printer);
    case State::Ready:
    case State::Printing:
    case State::Stopped:
        break;
    }
    if (state == State::Stopped || !stopReasons(reasons).isEmpty())
        return QStringLiteral("Impressora %1: parada, %2").arg(printer, why(*this, true));
    if (!accepting) return QStringLiteral("Impressora %1: não aceita trabalhos").arg(printer);
    return QStringLiteral("Impressora %1: %2")
        .arg(printer, state == State::Printing ? QStringLiteral("imprimindo") : QStringLiteral("pronta"));
}

PrinterStatus printerStatus(const QString& printer) {
    PrinterStatus st;
    st.printer = printer;
    // As a print does it: with no printer chosen nor used in this run, and none to be found, each job
    // is written as a PDF file.
    const auto toFileWhenNoneKnown = [&st, &printer] {
        if (printer.isEmpty() && SystemPrintSink::rememberedPrinter().isEmpty())
            st.pdfFolder = SystemPrintSink::pdfFolder();
        return st;
    };
    Connection connection;
    if (!connection) {
        st.state = PrinterStatus::State::NoServer;
        return toFileWhenNoneKnown();
    }
    const Dest dest = lookUp(connection.get(), printer);
    if (!dest) {
        if (!lastErrorIsNotFound()) {
            st.state = PrinterStatus::State::NoServer;
            return st;
        }
        st.state = PrinterStatus::State::NoPrinter;
        return toFileWhenNoneKnown();
    }
    return queryStatus(connection.get(), dest.get());
}

} // namespace PrintServer
