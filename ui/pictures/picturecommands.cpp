#include "ui/pictures/picturecommands.h"

#include "ui/base/dialogparts.h"
#include "ui/base/imainwindow.h"
#include "ui/base/storedsettings.h"
#include "ui/pictures/picturedialogs.h"
#include "ui/pictures/pictureview.h"
#include "ui/pictures/picturewindow.h"
#include "ui/views/draftwindow.h"
#include "ui/views/tools/toolstate.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

namespace qb {

namespace {

const QString kGraphicFilter = QStringLiteral("Graphic Files (*.bmp *.jpg *.jpeg *.tif *.tiff *.png)");

using C = CPictureCommands::Command;

struct ToolCommand {
    C command;
    Tool tool;
};
constexpr ToolCommand kTools[] = {
    {C::SelectionTool, Tool::Selection}, {C::ZoomTool, Tool::Zoom}, {C::PickupTool, Tool::PickupColor}};

} // namespace

CPictureCommands::CPictureCommands(IMainWindow* main) : QObject(main->window()), m_main(main)
{
    setObjectName(QStringLiteral("pictureCommands"));
    QWidget* parent = main->window();
    auto* edit = new QMenu(QStringLiteral("&Edit"), parent);
    auto* view = new QMenu(QStringLiteral("&View"), parent);
    auto* tools = new QMenu(QStringLiteral("&Tools"), parent);
    m_menus = {edit, view, tools};

    make(C::Undo, QStringLiteral("&Undo"), edit)->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    make(C::Redo, QStringLiteral("&Redo"), edit)->setShortcut(QKeySequence(QStringLiteral("Ctrl+Y")));
    edit->addSeparator();
    make(C::Crop, QStringLiteral("&Crop"), edit);
    make(C::Deselect, QStringLiteral("&Deselect"), edit);
    edit->addSeparator();
    // Where the message of Generate Draft sends the weaver.
    make(C::GridSquares, QStringLiteral("&Grid Squares..."), edit);

    make(C::ZoomIn, QStringLiteral("Zoom &In"), view)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    make(C::ZoomOut, QStringLiteral("Zoom &Out"), view)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    make(C::FitInWindow, QStringLiteral("Fit in &Window"), view)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});

    make(C::Rotate, QStringLiteral("&Rotate..."), tools);
    make(C::Grayscale, QStringLiteral("Gr&ayscale"), tools);
    make(C::BrightnessContrast, QStringLiteral("&Brightness/Contrast..."), tools);
    tools->addSeparator();
    make(C::GenerateDraft, QStringLiteral("Generate &Draft"), tools);
    tools->addSeparator();
    make(C::SelectionTool, QStringLiteral("&Selection"), tools);
    make(C::ZoomTool, QStringLiteral("&Zoom"), tools);
    make(C::PickupTool, QStringLiteral("Pic&kup Color"), tools);
    for (const ToolCommand& t : kTools) m_actions.action(t.command)->setCheckable(true);
    connect(&CToolState::instance(), &CToolState::toolChanged, this, &CPictureCommands::updateStates);

    connect(main->mdiArea(), &QMdiArea::subWindowActivated, this, [this] {
        CPictureWindow* w = activeWindow();
        if (w != m_watched) {
            if (m_watched) m_watched->disconnect(this);
            m_watched = w;
            if (w) connect(w, &CPictureWindow::stateChanged, this, &CPictureCommands::updateStates);
        }
        updateStates();
    });
    updateStates();
}

CPictureCommands* CPictureCommands::of(IMainWindow* main)
{
    return main->window()->findChild<CPictureCommands*>(QStringLiteral("pictureCommands"), Qt::FindDirectChildrenOnly);
}

QAction* CPictureCommands::make(Command c, const QString& text, QMenu* menu)
{
    QAction* a = m_actions.make(this, c, text, [this](Command cmd) { run(cmd); });
    menu->addAction(a);
    return a;
}

QAction* CPictureCommands::action(Command c) const
{
    return m_actions.action(c);
}

CPictureWindow* CPictureCommands::activeWindow() const
{
    QMdiArea* mdi = m_main->mdiArea();
    QMdiSubWindow* sub = mdi->activeSubWindow();
    if (!sub) {
        // Offscreen, or while a dialog has the focus, there may be no active
        // child: the top one stands for it.
        const QList<QMdiSubWindow*> list = mdi->subWindowList(QMdiArea::StackingOrder);
        sub = list.isEmpty() ? nullptr : list.last();
    }
    return sub ? qobject_cast<CPictureWindow*>(sub->widget()) : nullptr;
}

void CPictureCommands::updateStates()
{
    CPictureWindow* w = activeWindow();
    m_actions.enableAll(w != nullptr);
    const PictureHistory* h = w ? &w->history() : nullptr;
    auto name = [](QAction* a, const QString& verb, bool can, const std::string& step) {
        a->setEnabled(can);
        a->setText(QLatin1Char('&') + verb + (can ? QLatin1Char(' ') + QString::fromStdString(step) : QString()));
    };
    name(action(C::Undo), QStringLiteral("Undo"), h && h->canUndo(), h ? h->undoName() : std::string());
    name(action(C::Redo), QStringLiteral("Redo"), h && h->canRedo(), h ? h->redoName() : std::string());
    const bool selected = w && !w->view()->selection().empty();
    action(C::Crop)->setEnabled(selected);
    action(C::Deselect)->setEnabled(selected);
    if (w) {
        action(C::ZoomIn)->setEnabled(w->view()->zoom() < CPictureWindow::kMaxZoom);
        action(C::ZoomOut)->setEnabled(w->view()->zoom() > CPictureWindow::kMinZoom);
    }
    const Tool tool = CToolState::instance().tool();
    for (const ToolCommand& t : kTools) m_actions.action(t.command)->setChecked(tool == t.tool);
}

bool CPictureCommands::openPicture(const QString& path)
{
    auto* w = new CPictureWindow(m_main, m_menus);
    QString error;
    if (!w->open(path, error)) {
        delete w;
        m_main->tell(error);
        return false;
    }
    m_main->showDocumentWindow(w);
    w->fitWindowToPicture();
    // A picture larger than the main window is shown whole at first.
    const QSize shown = w->view()->displayedSize();
    if (shown.width() > w->view()->parentWidget()->width() || shown.height() > w->view()->parentWidget()->height()) {
        w->fitInWindow();
        w->fitWindowToPicture();
    }
    updateStates();
    return true;
}

void CPictureCommands::run(Command c)
{
    const QPointer<CPictureWindow> w = activeWindow();
    for (const ToolCommand& t : kTools)
        if (t.command == c) {
            CToolState::instance().setTool(t.tool);
            return;
        }
    if (!w) return;
    switch (c) {
    case C::Undo: w->undo(); break;
    case C::Redo: w->redo(); break;
    case C::Crop: w->crop(); break;
    case C::Deselect: w->deselect(); break;
    case C::GridSquares: {
        const GridSquares before = w->document().gridSquares();
        CGridSquaresDialog dialog(
            before,
            [w](GridSquares g) {
                if (w) w->setGridSquares(g);
            },
            m_main->window());
        if (!RunDialog(dialog) && w) w->setGridSquares(before);
        break;
    }
    case C::ZoomIn: w->zoomIn(); break;
    case C::ZoomOut: w->zoomOut(); break;
    case C::FitInWindow: w->fitInWindow(); break;
    case C::Rotate: {
        CRotateDialog dialog(m_main->window());
        if (RunDialog(dialog) && w) w->rotate(dialog.angle());
        break;
    }
    case C::Grayscale: w->grayscale(); break;
    case C::BrightnessContrast: brightnessContrast(w); break;
    case C::GenerateDraft: w->generateDraft(); break;
    default: break;
    }
    updateStates();
}

void CPictureCommands::brightnessContrast(CPictureWindow* window)
{
    const QPointer<CPictureWindow> w = window;
    // The preview is made from the picture as it is now, which stays as it
    // is until OK; changes in quick succession make one preview.
    RgbPicture preview;
    int brightness = 0, contrast = 0;
    QTimer later;
    later.setSingleShot(true);
    later.setInterval(0);
    connect(&later, &QTimer::timeout, this, [&] {
        if (!w) return;
        preview = LightPreview(w->document().picture(), brightness, contrast);
        w->showInstead(&preview);
    });
    CBrightnessContrastDialog dialog(
        [&](int b, int c) {
            brightness = b;
            contrast = c;
            later.start();
        },
        m_main->window());
    const bool ok = RunDialog(dialog);
    later.stop();
    if (!w) return;
    w->showInstead(nullptr);
    if (ok) w->light(dialog.brightness(), dialog.contrast());
}

void AddPictureCommands(IMainWindow* main)
{
    auto* commands = new CPictureCommands(main);
    main->addDocumentType({kGraphicFilter,
                           {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("tif"),
                            QStringLiteral("tiff"), QStringLiteral("png")},
                           [commands](const QString& path) { return commands->openPicture(path); }});
    auto* openGraphic = new QAction(QStringLiteral("Open &Graphic..."), commands);
    QObject::connect(openGraphic, &QAction::triggered, commands, [main] {
        const QString file = QFileDialog::getOpenFileName(main->window(), QStringLiteral("Open Graphic"),
                                                          main->settings().mruOpenFileLocn,
                                                          kGraphicFilter + QStringLiteral(";;All Files (*)"));
        if (file.isEmpty()) return;
        main->settingsMutable().mruOpenFileLocn = QDir::toNativeSeparators(QFileInfo(file).absolutePath());
        main->openFile(file);
    });
    // Installed right after File > Open..., with the other ways to open.
    main->menu(MenuId::File)->addAction(openGraphic);
}

} // namespace qb
