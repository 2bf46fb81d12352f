#include "ui/browser/previewloader.h"

#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/wifreader.h"

#include <QFileInfo>
#include <QMetaObject>

namespace qb {

namespace {

// Leafing through drafts shows no messages.
class SilentPrompter final : public IPrompter {
public:
    bool ask(const std::string&) override { return true; }
    void tell(const std::string&) override {}
};

} // namespace

CPreviewLoader::CPreviewLoader(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

CPreviewLoader::~CPreviewLoader()
{
    m_pool.waitForDone();
}

std::unique_ptr<CQuillabyDoc> CPreviewLoader::read(const QString& path, QString* error)
{
    auto doc = std::make_unique<CQuillabyDoc>();
    SilentPrompter quiet;
    WifReadOptions options;
    options.liftplan = LiftplanChoice::Liftplan;
    std::string why;
    if (!ReadWifFile(QFile::encodeName(path).toStdString(), *doc, quiet, options, &why)) {
        if (error) *error = QString::fromStdString(why);
        return nullptr;
    }
    return doc;
}

void CPreviewLoader::request(const QString& path)
{
    m_latest = path;
    if (m_running) {
        m_pending = path;
        return;
    }
    start(path);
}

void CPreviewLoader::start(QString path)
{
    m_running = true;
    m_pending.clear();
    m_pool.start([this, path] {
        QString error;
        std::shared_ptr<CQuillabyDoc> doc(read(path, &error));
        // Back on the window's thread; the pool is drained before this object goes.
        QMetaObject::invokeMethod(
            this, [this, path, doc, error] { finished(path, doc, error); }, Qt::QueuedConnection);
    });
}

void CPreviewLoader::finished(const QString& path, std::shared_ptr<CQuillabyDoc> doc, const QString& error)
{
    m_running = false;
    if (!m_pending.isEmpty() && m_pending != path) {
        start(m_pending);
        return;
    }
    m_pending.clear();
    if (path == m_latest) emit loaded(path, doc, error);
}

} // namespace qb
