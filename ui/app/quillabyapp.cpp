#include "ui/app/quillabyapp.h"

#include "ui/app/autosave.h"
#include "ui/app/draftreadwrite.h"
#include "ui/app/mainframe.h"
#include "ui/app/termsignal.h"
#include "ui/app/windowplacement.h"
#include "ui/base/baricons.h"
#include "ui/base/storedsettings.h"
#include "ui/print/printcommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace qb {

CQuillabyApp::CQuillabyApp(const QString& instanceKey, QObject* parent) : QObject(parent), m_instance(instanceKey) {}

CQuillabyApp::~CQuillabyApp() = default;

void CQuillabyApp::setApplicationNames()
{
    QCoreApplication::setOrganizationName(QLatin1String(CStoredSettings::kOrganization));
    QCoreApplication::setApplicationName(QLatin1String(CStoredSettings::kApplication));
    QCoreApplication::setApplicationVersion(QStringLiteral("8.0.4"));
    // The desktop matches windows to quillaby.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillaby"));
    QGuiApplication::setWindowIcon(BarIcon("quillaby"));
}

bool CQuillabyApp::InitInstance(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quillaby weaving-draft editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Draft to open."), QStringLiteral("[file]"));
    const QCommandLineOption printOption(QStringLiteral("print"),
                                         QStringLiteral("Print the draft (the print dialog opens) and exit."),
                                         QStringLiteral("file"));
    parser.addOption(printOption);
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    const QString file = files.isEmpty() ? QString() : files.first();
    if (parser.isSet(printOption)) return printAndExit(parser.value(printOption));

    switch (m_instance.start(file)) {
    case CSingleInstance::Role::Secondary: m_exitCode = 0; return false;
    case CSingleInstance::Role::Failed:
        // Better a second window than none at all.
        std::fprintf(stderr, "quillaby: %s\n", qPrintable(m_instance.errorString()));
        break;
    case CSingleInstance::Role::Primary: break;
    }

    {
        QSettings store = OpenSettingsStore();
        m_recent.load(store);
        m_palette.load(store);
    }
    m_frame = std::make_unique<CMainFrame>(m_palette, m_recent);
    connect(&m_instance, &CSingleInstance::fileRequested, m_frame.get(), &CMainFrame::openRequestedFile);
    WindowPlacement::restore(*m_frame, m_frame->settings());
    m_frame->show();

    m_autosave = std::make_unique<CAutosave>(*m_frame, std::make_unique<CRecoveryStore>());
    m_frame->setAutosave(m_autosave.get());
    // Logout or shutdown: no time for questions; the drafts wait for the next start.
    m_terms = new CTermSignal(this);
    connect(m_terms, &CTermSignal::received, this, [this] {
        m_autosave->saveForNextStart();
        QCoreApplication::exit(0);
    });
    const int restored = m_autosave->offerRecovered();

    if (!file.isEmpty()) m_frame->openFile(file);
    else if (restored == 0) m_frame->newDocument();
    return true;
}

bool CQuillabyApp::printAndExit(const QString& file)
{
    // A file manager's print verb: no single-instance hand-over, no window
    // left open afterwards.
    {
        QSettings store = OpenSettingsStore();
        m_recent.load(store);
        m_palette.load(store);
    }
    m_frame = std::make_unique<CMainFrame>(m_palette, m_recent);
    if (!m_frame->openFile(file) || !m_frame->activeGridFrame()) {
        m_exitCode = 1;
        return false;
    }
    QTimer::singleShot(0, m_frame.get(), [this] {
        QPrinter printer(QPrinter::HighResolution);
        const bool printed = PrintFrame(m_frame.get(), m_frame->activeGridFrame(), printer);
        QCoreApplication::exit(printed ? 0 : 1);
    });
    return true;
}

} // namespace qb
