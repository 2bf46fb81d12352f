#include "ui/base/storedsettings.h"

#include <QSettings>

#include <algorithm>
#include <array>

namespace qb {

namespace DobbyHeads {
const QStringList& names()
{
    static const QStringList list{QStringLiteral("AVL Compu-Dobby II"), QStringLiteral("AVL Compu-Dobby III"),
                                  QStringLiteral("Louet"), QStringLiteral("LeClerc I"), QStringLiteral("LeClerc II")};
    return list;
}

int indexOf(const QString& name)
{
    const int i = names().indexOf(name);
    return i < 0 ? kNone : i;
}

QString nameOf(int index)
{
    return index >= 0 && index < kCount ? names().at(index) : QString();
}
} // namespace DobbyHeads

bool isValidThreadingNotation(int v)
{
    return v == 0 || v == 1 || v == 3;
}
bool isValidTreadlingNotation(int v)
{
    return v == 0 || v == 1;
}
bool isValidTieupNotation(int v)
{
    return v >= 0 && v <= 2;
}
bool isValidDrawdownStyle(int v)
{
    return v == 0 || v == 4;
}

namespace {

constexpr int kNone = CStoredSettings::kNone;
constexpr int kMax = INT_MAX;

enum class Kind { Int, Notation, Text, Head, HeadInt, HeadText };

struct Entry {
    const char* key;
    Kind kind;
    int CStoredSettings::*i = nullptr;
    QString CStoredSettings::*s = nullptr;
    int lo = kNone;
    int hi = kMax;
    bool (*valid)(int) = nullptr;
};

Entry intKey(const char* k, int CStoredSettings::*f, int lo = kNone, int hi = kMax)
{
    return {k, Kind::Int, f, nullptr, lo, hi, nullptr};
}
Entry notationKey(const char* k, int CStoredSettings::*f, bool (*valid)(int))
{
    return {k, Kind::Notation, f, nullptr, kNone, kMax, valid};
}
Entry textKey(const char* k, QString CStoredSettings::*f)
{
    return {k, Kind::Text, nullptr, f};
}

// Reading and writing order of the section: placement, general, loom,
// dobby head, network/echo/line tool, browser, folders.
const std::vector<Entry>& table()
{
    using S = CStoredSettings;
    static const std::vector<Entry> t{
        intKey("InitialXPos", &S::InitialXPos),
        intKey("InitialYPos", &S::InitialYPos),
        intKey("InitialWidth", &S::InitialWidth),
        intKey("InitialHeight", &S::InitialHeight),
        intKey("UnitMeasure", &S::UnitMeasure, 0, 1),
        intKey("FlipOnPasteLiftplan", &S::FlipOnPasteLiftplan, 0),
        intKey("AutosaveSeconds", &S::AutosaveSeconds, 0, 24 * 3600),
        intKey("DfltNumShafts", &S::DfltNumShafts, 1, 64),
        intKey("DfltNumTreadles", &S::DfltNumTreadles, 1, 128),
        intKey("DfltWasteLength", &S::DfltWasteLength, 0),
        intKey("DfltRisingShed", &S::DfltRisingShed),
        intKey("DfltLiftPlan", &S::DfltLiftPlan),
        notationKey("DfltThreading", &S::DfltThreading, isValidThreadingNotation),
        notationKey("DfltTreadling", &S::DfltTreadling, isValidTreadlingNotation),
        notationKey("DfltTieup", &S::DfltTieup, isValidTieupNotation),
        notationKey("DfltDrawdown", &S::DfltDrawdown, isValidDrawdownStyle),
        intKey("DfltDobbyBarH", &S::DfltDobbyBarH, 0),
        intKey("DfltDobbyBarV", &S::DfltDobbyBarV, 0),
        intKey("ShowGridWhenHidden", &S::ShowGridWhenHidden, 0),
        intKey("DraftDrawnUp", &S::DraftDrawnUp, 0),
        intKey("DfltSaveAsQLB", &S::DfltSaveAsQLB, 0),
        {"DobbyHeadType", Kind::Head},
        {"SerialPortNum", Kind::HeadInt, &S::SerialPortNum},
        {"SerialPortPath", Kind::HeadText, nullptr, &S::SerialPortPath},
        {"DobbyHarnesses", Kind::HeadInt, &S::DobbyHarnesses, nullptr, 1, 40},
        intKey("NetworkInitialW", &S::NetworkInitialW, 1, 64),
        intKey("NetworkInitialH", &S::NetworkInitialH, 1, 64),
        intKey("NetworkInitialB", &S::NetworkInitialB, 0, 64),
        intKey("NetworkHt", &S::NetworkHt, 1, 64),
        intKey("NetworkLen", &S::NetworkLen, 1, 32768),
        intKey("NetworkTelescope", &S::NetworkTelescope),
        intKey("NetworkShaftRule", &S::NetworkShaftRule),
        // Up to the widest ribbon template, so that width survives the next start.
        intKey("NetworkRibbonW", &S::NetworkRibbonW, 1, 128),
        intKey("NumEchos", &S::NumEchos, 1, 3),
        intKey("EchoOffset", &S::EchoOffset, 1, 64),
        intKey("ProgressingLineLength", &S::ProgressingLineLength, 0, 6),
        intKey("ProgressingLineOffset", &S::ProgressingLineOffset, 0, 5),
        intKey("BrowseZoomLevel", &S::BrowseZoomLevel, -S::kBrowseZoomRange, S::kBrowseZoomRange),
        intKey("BrowseWidth", &S::BrowseWidth),
        intKey("BrowseHeight", &S::BrowseHeight),
        intKey("BrowseDirWidth", &S::BrowseDirWidth, 0, 100),
        intKey("BrowseFileWidth", &S::BrowseFileWidth, 0, 100),
        intKey("BrowseNameWidth", &S::BrowseNameWidth, 0),
        intKey("BrowseModfdWidth", &S::BrowseModfdWidth, 0),
        textKey("mruOpenFileLocn", &S::mruOpenFileLocn),
        textKey("mruSaveFileLocn", &S::mruSaveFileLocn),
        textKey("DfltBlockSubsFileLocn", &S::DfltBlockSubsFileLocn),
        textKey("DfltNetworkFileLocn", &S::DfltNetworkFileLocn),
        textKey("DfltYarnDocFileLocn", &S::DfltYarnDocFileLocn),
        textKey("DfltBrowseLocn", &S::DfltBrowseLocn),
        textKey("InitBrowseSubdir", &S::InitBrowseSubdir),
        textKey("DfltNetworkStructure", &S::DfltNetworkStructure),
        textKey("DfltNetworkFile", &S::DfltNetworkFile),
    };
    return t;
}

int readInt(const QSettings& store, const char* key, int dflt)
{
    const QVariant v = store.value(QLatin1String(key));
    if (!v.isValid()) return dflt;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok) return dflt;
    return static_cast<int>(std::clamp<qlonglong>(n, INT_MIN, INT_MAX));
}

} // namespace

void CStoredSettings::read(QSettings& store)
{
    const CStoredSettings defaults;
    store.beginGroup(QLatin1String(kSection));
    for (const Entry& e : table()) {
        switch (e.kind) {
        case Kind::Int:
        case Kind::HeadInt: {
            const int v = readInt(store, e.key, defaults.*e.i);
            this->*e.i = clampSetting(v, e.lo, e.hi);
            break;
        }
        case Kind::Notation: {
            const int v = readInt(store, e.key, defaults.*e.i);
            this->*e.i = e.valid(v) ? v : defaults.*e.i;
            break;
        }
        case Kind::Text:
        case Kind::HeadText: this->*e.s = store.value(QLatin1String(e.key)).toString(); break;
        case Kind::Head:
            dobbyHead = DobbyHeads::indexOf(store.value(QLatin1String(e.key)).toString());
            m_headAsRead = dobbyHead;
            break;
        }
    }
    store.endGroup();
    fixBrowsePaneWidths(BrowseDirWidth, BrowseFileWidth);
}

void CStoredSettings::write(QSettings& store) const
{
    const bool head = hasDobbyHead();
    store.beginGroup(QLatin1String(kSection));
    for (const Entry& e : table()) {
        const QLatin1String key(e.key);
        switch (e.kind) {
        case Kind::Int:
        case Kind::Notation: store.setValue(key, this->*e.i); break;
        case Kind::Text: store.setValue(key, this->*e.s); break;
        case Kind::Head:
            if (head) store.setValue(key, dobbyHeadName());
            else if (m_headAsRead != DobbyHeads::kNone) store.setValue(key, QString()); // the weaver chose "Select one"
            break;
        case Kind::HeadInt:
            if (head) store.setValue(key, this->*e.i);
            break;
        case Kind::HeadText:
            if (head) store.setValue(key, this->*e.s);
            break;
        }
    }
    store.endGroup();
}

NewDraftDefaults CStoredSettings::newDraftDefaults() const
{
    NewDraftDefaults d;
    d.shafts = DfltNumShafts;
    d.treadles = DfltNumTreadles;
    d.liftplan = DfltLiftPlan != 0;
    d.risingShed = DfltRisingShed != 0;
    d.units = UnitMeasure;
    d.wasteLength = DfltWasteLength;
    d.notations.threading = DfltThreading;
    d.notations.treadling = DfltTreadling;
    d.notations.tieup = DfltTieup;
    d.notations.drawdown = DfltDrawdown;
    return d;
}

void CStoredSettings::fixBrowsePaneWidths(int& dirPercent, int& filePercent)
{
    const int room = 100 - kMinPreviewPercent;
    dirPercent = clampSetting(dirPercent, 0, room);
    filePercent = clampSetting(filePercent, 0, room - dirPercent);
}

QSettings OpenSettingsStore()
{
    return QSettings(QLatin1String(CStoredSettings::kOrganization), QLatin1String(CStoredSettings::kApplication));
}

} // namespace qb
