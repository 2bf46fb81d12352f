#pragma once

#include "core/draft/draftsettings.h"
#include "core/draft/tieup.h"
#include "core/transform/weavestructure.h"
#include "core/transform/weavestructureedit.h"

#include <QDialog>
#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace qb {

class CQuillabyDoc;

// A tieup key drawn as a grid: the structure's shafts upwards, the key's
// treadles across, with a heavy line above the tiedown shafts and above each
// block's pattern shafts. A click on a cell asks for it to be toggled.
class CTieupKeyPicture : public QWidget {
    Q_OBJECT
public:
    explicit CTieupKeyPicture(QWidget* parent = nullptr);
    void setKey(const std::optional<TieupKey>& key, int shafts, int treadles, const BlockSubstitutionParams& p,
                bool editable);
    const std::optional<TieupKey>& key() const { return m_key; }
    // The cell under a point: treadle 0-based, shaft 1-based; false outside.
    bool cellAt(QPoint pos, int& treadle, int& shaft) const;
    QRect cellRect(int treadle, int shaft) const;
    QSize sizeHint() const override;

signals:
    void cellClicked(int treadle, int shaft);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    int cellSize() const;
    std::optional<TieupKey> m_key;
    int m_shafts = 0;
    int m_treadles = 0;
    BlockSubstitutionParams m_params;
    bool m_editable = false;
};

// "&Weave Structure...": the block parameters of a weave-structure draft on
// the pages Parameters, Advanced, Color and Tieups, and the tieup key of
// every combination of blocks. The controls over a WeaveStructureEdit, which
// holds the rules and the keys; the command applies it after OK.
class CWeaveStructureSheet : public QDialog {
    Q_OBJECT
public:
    enum Page { ParametersPage = 0, AdvancedPage = 1, ColorPage = 2, TieupsPage = 3 };

    explicit CWeaveStructureSheet(const CQuillabyDoc& doc, QWidget* parent = nullptr);
    ~CWeaveStructureSheet() override;

    // The parameters as the controls show them; options the rules force off
    // read as off.
    BlockSubstitutionParams params() const;
    // The keys as edited, and the rules.
    const WeaveStructureEdit& edit() const { return m_edit; }
    QTabWidget* tabs() const { return m_tabs; }
    // The combination the block list selects (block k is bit k-1).
    BlockSet selectedSet() const;

private:
    QWidget* makeParametersPage();
    QWidget* makeAdvancedPage();
    QWidget* makeColorPage();
    QWidget* makeTieupsPage();
    void load(const BlockSubstitutionParams& p);
    // Enables and disables controls by the rules and redraws the key.
    void follow();
    void showKey();
    void toggleCell(int treadle, int shaft);
    void setValid(bool on);
    void toggleAllValid();

    struct SideControls {
        QSpinBox* turning = nullptr;
        QComboBox* turningChoice = nullptr;
        QSpinBox* transition = nullptr;
        QComboBox* transitionChoice = nullptr;
        QCheckBox* flip = nullptr;
        QComboBox* flipChoice = nullptr;
    };
    QWidget* makeSideGroup(const QString& title, const char* prefix, const QString& threads, const QString& units,
                           SideControls& c);

    WeaveStructureEdit m_edit;
    bool m_following = false;
    // What "Enforce odd-even tiedowns" was before the rules forced it off.
    bool m_oddEvenWanted = false;

    QTabWidget* m_tabs = nullptr;
    // Parameters
    QSpinBox* m_blocks = nullptr;
    QSpinBox* m_ends = nullptr;
    QSpinBox* m_picks = nullptr;
    QSpinBox* m_patternShafts = nullptr;
    QSpinBox* m_patternTreadles = nullptr;
    QSpinBox* m_tiedownShafts = nullptr;
    QSpinBox* m_tiedownTreadles = nullptr;
    QCheckBox* m_skeleton = nullptr;
    QCheckBox* m_combinations = nullptr;
    // Advanced
    QCheckBox* m_repeatable = nullptr;
    QCheckBox* m_sequential = nullptr;
    QCheckBox* m_fixed = nullptr;
    QCheckBox* m_oddEven = nullptr;
    QCheckBox* m_adjacent = nullptr;
    SideControls m_threading;
    SideControls m_treadling;
    // Color
    QCheckBox* m_designColors = nullptr;
    QCheckBox* m_alternate = nullptr;
    QCheckBox* m_exceptWarp = nullptr;
    QCheckBox* m_exceptWeft = nullptr;
    QSpinBox* m_bars = nullptr;
    QRadioButton* m_barsWarp = nullptr;
    QRadioButton* m_barsWeft = nullptr;
    // Tieups
    QCheckBox* m_automatic = nullptr;
    QListWidget* m_blockList = nullptr;
    CTieupKeyPicture* m_keyPicture = nullptr;
    QLabel* m_keyCaption = nullptr;
    QCheckBox* m_valid = nullptr;
    QPushButton* m_allValid = nullptr;
};

} // namespace qb
