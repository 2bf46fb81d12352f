#pragma once

#include "core/draft/draftsettings.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <climits>

class QSettings;

namespace qb {

// The dobby heads the weaving run can drive, stored by name.
namespace DobbyHeads {
inline constexpr int kCount = 5;
inline constexpr int kNone = 5; // index of "no head selected"
// "AVL Compu-Dobby II", "AVL Compu-Dobby III", "Louet", "LeClerc I", "LeClerc II".
const QStringList& names();
// Index 0..4 of a stored name; kNone for an empty or unknown one.
int indexOf(const QString& name);
// The name of index 0..4; empty for any other index.
QString nameOf(int index);
} // namespace DobbyHeads

// Clamp used by every stored integer: values outside [lo, hi] are moved in.
inline int clampSetting(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// The notation values a new draft can start with; anything else reads as
// the default (a wrong stored value must not reach the panes).
bool isValidThreadingNotation(int v); // 0 plain, 1 numeric, 3 alpha
bool isValidTreadlingNotation(int v); // 0 plain, 1 numeric
bool isValidTieupNotation(int v);     // 0 plain, 1 numeric, 2 symbolic
bool isValidDrawdownStyle(int v);     // 0 plain, 4 interlaced

// Every value of the "Settings" section (except the default palette, which
// the application keeps). Read once when the main window is created and
// written back when it is destroyed, in the same order.
class CStoredSettings {
public:
    static constexpr const char* kOrganization = "Oxbelle Software";
    static constexpr const char* kApplication = "Quillaby";
    static constexpr const char* kSection = "Settings";
    static constexpr int kNone = INT_MIN;         // no bound
    static constexpr int kBrowseZoomRange = 10;   // browser zoom -10..10
    static constexpr int kMinPreviewPercent = 10; // browser preview pane

    // Window placement.
    int InitialXPos = -1;
    int InitialYPos = -1;
    int InitialWidth = -1;
    int InitialHeight = -1;
    // General.
    int UnitMeasure = 0;
    int FlipOnPasteLiftplan = 0;
    // Seconds between recovery copies of modified drafts; 0: none.
    int AutosaveSeconds = 300;
    // Loom defaults for new drafts.
    int DfltNumShafts = 8;
    int DfltNumTreadles = 8;
    int DfltWasteLength = 30;
    int DfltRisingShed = 1;
    int DfltLiftPlan = 0;
    int DfltThreading = 1;
    int DfltTreadling = 0;
    int DfltTieup = 2;
    int DfltDrawdown = 4;
    int DfltDobbyBarH = 47;
    int DfltDobbyBarV = 114;
    int ShowGridWhenHidden = 0;
    int DraftDrawnUp = 0;
    int DfltSaveAsQLB = 0;
    // Dobby head: index into DobbyHeads (stored as DobbyHeadType by name).
    int dobbyHead = DobbyHeads::kNone;
    int SerialPortNum = -1;
    QString SerialPortPath; // device path of the port (e.g. /dev/ttyUSB0)
    int DobbyHarnesses = 16;
    // Network drafting, echo and line tool.
    int NetworkInitialW = 4;
    int NetworkInitialH = 4;
    int NetworkInitialB = 0;
    int NetworkHt = 16;
    int NetworkLen = 48;
    int NetworkTelescope = 0;
    int NetworkShaftRule = 0;
    int NetworkRibbonW = 4;
    int NumEchos = 2;
    int EchoOffset = 4;
    int ProgressingLineLength = 0;
    int ProgressingLineOffset = 0;
    // Draft browser.
    int BrowseZoomLevel = -4;
    int BrowseWidth = -1;
    int BrowseHeight = -1;
    int BrowseDirWidth = 25;
    int BrowseFileWidth = 25;
    int BrowseNameWidth = 150;
    int BrowseModfdWidth = 110;
    // Folders and last-used names.
    QString mruOpenFileLocn;
    QString mruSaveFileLocn;
    QString DfltBlockSubsFileLocn;
    QString DfltNetworkFileLocn;
    QString DfltYarnDocFileLocn;
    QString DfltBrowseLocn;
    QString InitBrowseSubdir;
    QString DfltNetworkStructure;
    QString DfltNetworkFile;

    // Reads every key (missing or unreadable: default; out of range: clamped).
    void read(QSettings& store);
    // Writes every key in reading order. The dobby head, its port and shaft
    // count are written only while a head is selected; a head cleared in the
    // Options sheet is cleared in the store too.
    void write(QSettings& store) const;

    bool hasDobbyHead() const { return dobbyHead >= 0 && dobbyHead < DobbyHeads::kCount; }
    QString dobbyHeadName() const { return DobbyHeads::nameOf(dobbyHead); }
    // The values a new draft starts from (palette colors filled by the caller).
    NewDraftDefaults newDraftDefaults() const;
    // Line tool: stored 0..6 stands for length 3..9, 0..5 for offset 1..6.
    int progressingLineLength() const { return ProgressingLineLength + 3; }
    int progressingLineOffset() const { return ProgressingLineOffset + 1; }

    // Keeps the browser's tree and list panes from leaving no room for the
    // preview.
    static void fixBrowsePaneWidths(int& dirPercent, int& filePercent);

    bool operator==(const CStoredSettings&) const = default;

private:
    int m_headAsRead = DobbyHeads::kNone; // to tell a cleared head from none
};

// The store of this program's settings (organization and application above).
QSettings OpenSettingsStore();

} // namespace qb
