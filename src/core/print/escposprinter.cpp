#include "escposprinter.h"

#include "escposlink.h"

#include "core/base/errors.h"

#include <mutex>

namespace {

using State = EscPosPrinterStatus::State;

constexpr int separatorFeedDots = 32; // 4 mm between pages that are not cut apart

State stateOf(const EscPosStatus& s) {
    if (s.coverOpen) return State::CoverOpen;
    if (s.paperEndStop || s.paperEnd) return State::PaperEnd;
    if (s.error) return State::Error;
    if (s.offline) return State::Offline;
    if (s.paperNearEnd) return State::PaperNearEnd;
    return State::Ready;
}

// Whether the printer stopped printing: the page just sent may not have come out whole.
bool stopped(const EscPosStatus& s) {
    return s.paperEndStop || s.coverOpen || s.error;
}

} // namespace

QString EscPosPrinterStatus::problem() const {
    switch (state) {
    case State::Unknown:
    case State::Ready:
    case State::PaperNearEnd:
    case State::Unchecked:
        return QString();
    case State::PaperEnd:
        return QStringLiteral("A impressora está sem papel. Troque o rolo e confirme de novo.");
    case State::CoverOpen:
        return QStringLiteral("A tampa da impressora está aberta.");
    case State::Offline:
        return QStringLiteral("A impressora está fora de linha.");
    case State::Error:
        return QStringLiteral("A impressora está com erro. Verifique a impressora e confirme de novo.");
    case State::NoAnswer:
        return QStringLiteral("A impressora não respondeu.");
    case State::NoConnection:
        return QStringLiteral("Não foi possível conectar à impressora (%1).").arg(detail);
    }
    return QString();
}

QString EscPosPrinterStatus::line() const {
    QString what;
    switch (state) {
    case State::Unknown:
        what = QStringLiteral("verificando...");
        break;
    case State::Ready:
        what = QStringLiteral("pronta");
        break;
    case State::PaperNearEnd:
        what = QStringLiteral("pronta, pouco papel");
        break;
    case State::PaperEnd:
        what = QStringLiteral("sem papel");
        break;
    case State::CoverOpen:
        what = QStringLiteral("tampa aberta");
        break;
    case State::Offline:
        what = QStringLiteral("fora de linha");
        break;
    case State::Error:
        what = QStringLiteral("com erro");
        break;
    case State::NoAnswer:
        what = QStringLiteral("não responde");
        break;
    case State::Unchecked:
        what = QStringLiteral("o papel não pode ser verificado");
        break;
    case State::NoConnection:
        what = QStringLiteral("sem conexão (%1)").arg(detail);
        break;
    }
    return QStringLiteral("ESC/POS %1: ").arg(printer) + what;
}

EscPosPrintSink::EscPosPrintSink(const PrinterSettings& settings) : m_settings(settings) {}

EscPosPrintSink::~EscPosPrintSink() {
    QMutexLocker io(&m_io);
    finish();
}

QString EscPosPrintSink::destination() const {
    if (m_settings.kind == PrinterSettings::Kind::Network)
        return QStringLiteral("escpos:%1:%2").arg(m_settings.host).arg(m_settings.port);
    return QStringLiteral("escpos:") + m_settings.device;
}

void EscPosPrintSink::beginBatch() {
    ++m_depth;
}

void EscPosPrintSink::endBatch() {
    if (m_depth > 0 && --m_depth == 0) {
        QMutexLocker io(&m_io);
        finish();
    }
}

QString EscPosPrintSink::route() {
    QMutexLocker io(&m_io);
    try {
        if (m_link) m_link->discardInput();
        if (!m_link || !m_link->healthy()) {
            connectAndCheck();
        } else {
            const QString problem = status().problem();
            if (!problem.isEmpty()) throw PrintError(problem);
        }
    } catch (const PrintError&) {
        finish();
        throw;
    }
    return destination();
}

PrintJob EscPosPrintSink::print(const Report& report) {
    QMutexLocker io(&m_io);
    QByteArray page = EscPos::initialize() + m_pages.page(report, m_settings.paperMm);
    page += m_settings.cutEachTicket ? EscPos::cut() : EscPos::feed(separatorFeedDots);
    try {
        if (m_link) m_link->discardInput();
        if (!m_link || !m_link->healthy()) {
            // The batch's first page, or the printer closed the connection since the last one: nothing
            // of this page has gone out yet.
            connectAndCheck();
        } else {
            // The answer after the last page said the printer cannot print now.
            const QString problem = status().problem();
            if (!problem.isEmpty()) throw PrintError(problem);
        }
        if (!m_link->write(page)) {
            // part of the page may have gone out
            setStatus(State::NoConnection, m_link->error());
            throw PrintDoubt(QStringLiteral("A conexão com a impressora caiu durante a impressão (%1).")
                                 .arg(m_link->error()));
        }
        if (!m_settings.cutEachTicket) ++m_uncut;
        checkAfterPage(page.size());
    } catch (const PrintError&) {
        // The next print connects and asks again.
        finish();
        throw;
    }
    if (m_depth == 0) finish();
    return PrintJob{destination(), 0};
}

void EscPosPrintSink::connectAndCheck() {
    finish();
    auto link = std::make_unique<EscPosLink>();
    try {
        link->open(m_settings, m_timeoutMs);
    } catch (const PrintError& e) {
        setStatus(State::NoConnection, link->error().isEmpty() ? e.text() : link->error());
        throw;
    }
    m_link = std::move(link);
    refresh(*m_link);
    if (!m_link->healthy())
        throw PrintError(
            QStringLiteral("A conexão com a impressora caiu (%1): nada foi impresso.").arg(m_link->error()));
    const QString problem = status().problem();
    if (!problem.isEmpty()) throw PrintError(problem);
}

void EscPosPrintSink::checkAfterPage(qsizetype pageBytes) {
    const bool printed = confirmed(pageBytes);
    const std::optional<EscPosStatus> answer = refresh(*m_link);
    if (printed) return; // a paper end now stops the next print, before it sends anything
    Answers confirms;
    {
        QMutexLocker lock(&m_stateMutex);
        confirms = m_confirms;
    }
    // The page went out: a printer that cannot say how it ended leaves it in doubt.
    if (!m_link->healthy())
        throw PrintDoubt(
            QStringLiteral("A conexão com a impressora caiu durante a impressão (%1).").arg(m_link->error()));
    if (!answer && status().state == State::NoAnswer) throw PrintDoubt(status().problem());
    if (answer && stopped(*answer)) {
        // A printer that confirms its pages stopped before this one's cut; one that never confirms
        // may have stopped right after it.
        if (confirms == Answers::Yes) throw PrintError(status().problem());
        throw PrintDoubt(status().problem() +
                         QStringLiteral(" Ela parou logo depois de receber o último documento, sem confirmar "
                                        "se ele saiu."));
    }
    if (answer && confirms == Answers::Yes)
        throw PrintDoubt(QStringLiteral("A impressora não confirmou a impressão a tempo."));
    if (answer) {
        QMutexLocker lock(&m_stateMutex);
        m_confirms = Answers::Never; // prints on without confirming
    }
}

bool EscPosPrintSink::confirmed(qsizetype pageBytes) {
    {
        QMutexLocker lock(&m_stateMutex);
        if (m_answers == Answers::Never || m_confirms == Answers::Never) return false;
    }
    const int id = ++m_processId % 10000;
    if (!m_link->write(EscPos::processRequest(id))) return false;
    // The answer comes when the page is out: up to 20 ms a millimetre (50 mm/s) beyond the timeout.
    const qsizetype mm = pageBytes / (EscPos::printableDots(m_settings.paperMm) / 8) / EscPos::dotsPerMm;
    const QByteArray answer = m_link->read(EscPos::processAnswerSize, m_timeoutMs + int(mm) * 20);
    if (answer != EscPos::processAnswer(id)) return false;
    QMutexLocker lock(&m_stateMutex);
    m_confirms = Answers::Yes;
    return true;
}

std::optional<EscPosStatus> EscPosPrintSink::refresh(EscPosLink& link) {
    Answers answers;
    {
        QMutexLocker lock(&m_stateMutex);
        answers = m_answers;
    }
    if (answers == Answers::Never) {
        setStatus(State::Unchecked);
        return std::nullopt;
    }
    link.discardInput();
    std::optional<EscPosStatus> answer;
    if (link.write(EscPos::statusRequest()))
        answer = EscPos::parseStatus(link.read(EscPos::statusAnswerSize));
    if (!link.healthy()) {
        setStatus(State::NoConnection, link.error());
        return std::nullopt;
    }
    QMutexLocker lock(&m_stateMutex);
    if (answer) {
        m_answers = Answers::Yes;
        m_status = {stateOf(*answer), QString(), QString()};
    } else if (m_answers == Answers::Yes) {
        m_status = {State::NoAnswer, QString(), QString()};
    } else {
        m_answers = Answers::Never;
        m_status = {State::Unchecked, QString(), QString()};
    }
    return answer;
}

void EscPosPrintSink::setStatus(State state, const QString& detail) {
    QMutexLocker lock(&m_stateMutex);
    m_status = {state, detail, QString()};
}

EscPosPrinterStatus EscPosPrintSink::status() const {
    QMutexLocker lock(&m_stateMutex);
    EscPosPrinterStatus s = m_status;
    s.printer = destination().mid(7); // after "escpos:"
    return s;
}

EscPosPrinterStatus EscPosPrintSink::probe() {
    std::unique_lock<QMutex> io(m_io, std::try_to_lock);
    if (!io.owns_lock() || m_link) return status(); // a batch is using the printer
    EscPosLink link;
    try {
        link.open(m_settings, m_timeoutMs);
    } catch (const PrintError& e) {
        setStatus(State::NoConnection, link.error().isEmpty() ? e.text() : link.error());
        return status();
    }
    refresh(link);
    return status();
}

void EscPosPrintSink::finish() {
    if (m_link && m_uncut > 0 && m_link->healthy()) m_link->write(EscPos::cut());
    m_uncut = 0;
    m_link.reset();
}
