#include "ui/yarn/yarnsheet.h"

#include "ui/base/dialogparts.h"
#include "ui/yarn/densitycalculatordialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

namespace qb {

namespace {

QString text(const std::string& s)
{
    return QString::fromUtf8(s);
}

QComboBox* listOf(QWidget* parent, const char* name, const std::vector<std::string>& values, const std::string& now)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& v : values) c->addItem(text(v));
    // A file may hold a longer text: shown and kept whole unless edited.
    c->lineEdit()->setMaxLength(std::max<int>(kYarnTextChars, int(text(now).size())));
    c->setEditText(text(now));
    return c;
}

} // namespace

CYarnSheet::CYarnSheet(const CYarn& yarn, const std::vector<std::string>& sizes, const std::vector<std::string>& fibers,
                       MeasureSystem system, QWidget* parent)
    : QDialog(parent)
    , m_system(system)
{
    setWindowTitle(QStringLiteral("Yarn"));
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(makeCharacteristics(yarn, sizes, fibers), QStringLiteral("Characteristics"));
    m_tabs->addTab(makeNotes(yarn), QStringLiteral("Notes"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    // A property sheet without Apply.
    layout->addWidget(OkCancelButtons(this));
}

QWidget* CYarnSheet::makeCharacteristics(const CYarn& y, const std::vector<std::string>& sizes,
                                         const std::vector<std::string>& fibers)
{
    auto* page = new QWidget(this);
    m_size = listOf(page, "size", sizes, y.size());
    m_fiber = listOf(page, "fiber", fibers, y.fiber());
    m_density = new QLineEdit(QString::number(y.density()), page);
    m_density->setObjectName(QStringLiteral("density"));
    m_density->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), m_density));
    m_shrinkage = CountSpinBox(page, "shrinkage", 0, kMaxYarnShrinkage, y.shrinkage());
    m_sett = CountSpinBox(page, "sett", 0, kMaxYarnSett, y.sett());
    m_calculator = new QPushButton(QStringLiteral("Density Calculator"), page);
    m_calculator->setObjectName(QStringLiteral("densityCalculator"));
    connect(m_calculator, &QPushButton::clicked, this, &CYarnSheet::runDensityCalculator);

    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Size:"), page), 0, 0);
    grid->addWidget(m_size, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Fiber:"), page), 1, 0);
    grid->addWidget(m_fiber, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Density:"), page), 2, 0);
    grid->addWidget(m_density, 2, 1);
    grid->addWidget(
        new QLabel(QString::fromLatin1(DensityWord(m_system).data(), int(DensityWord(m_system).size())), page), 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Shrinkage:"), page), 3, 0);
    grid->addWidget(m_shrinkage, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), page), 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("Sett:"), page), 4, 0);
    grid->addWidget(m_sett, 4, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(SettWord(m_system).data(), int(SettWord(m_system).size())), page), 4,
                    2);
    grid->addWidget(m_calculator, 5, 1);
    grid->setRowStretch(6, 1);
    return page;
}

QWidget* CYarnSheet::makeNotes(const CYarn& y)
{
    auto* page = new QWidget(this);
    m_notes = new QPlainTextEdit(page);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setPlainText(text(y.notes()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    connect(m_notes, &QPlainTextEdit::textChanged, this, &CYarnSheet::limitNotes);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_notes);
    return page;
}

void CYarnSheet::limitNotes()
{
    const QString t = m_notes->toPlainText();
    if (t.size() <= kYarnNotesChars) return;
    const QSignalBlocker block(m_notes);
    m_notes->setPlainText(t.left(kYarnNotesChars));
    m_notes->moveCursor(QTextCursor::End);
}

void CYarnSheet::runDensityCalculator()
{
    CDensityCalculatorDialog calc(m_system, this);
    if (RunDialog(calc)) m_density->setText(QString::number(calc.densityForSystem()));
}

CYarn CYarnSheet::yarn() const
{
    CYarn y;
    y.setSize(m_size->currentText().trimmed().toStdString());
    y.setFiber(m_fiber->currentText().trimmed().toStdString());
    y.setDensity(m_density->text().toLongLong());
    y.setShrinkage(m_shrinkage->value());
    y.setSett(m_sett->value());
    y.setNotes(m_notes->toPlainText().toStdString());
    return y;
}

bool CYarnSheet::store(CYarn& y) const
{
    const CYarn edited = yarn();
    if (edited == y) return false;
    y = edited;
    return true;
}

} // namespace qb
