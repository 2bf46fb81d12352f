// Any bytes must give a yarn list or a clear refusal: no crash, no hang, no
// allocation beyond what the bytes can hold. What was read must also write
// and read back the same, as text and as an archive.
#include "core/yarn/yarnarchive.h"
#include "core/yarn/yarndoc.h"
#include "core/yarn/yarntext.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qb::YarnArchiveRead r = qb::ParseYarnArchive(bytes);
    if (!r.ok) {
        if (!r.yarns.empty() || r.error.empty()) std::abort();
        return 0;
    }
    qb::CYarnDoc doc;
    for (qb::CYarn& y : r.yarns) doc.Append(std::move(y));

    qb::YarnArchiveRead again = qb::ParseYarnArchive(qb::YarnArchiveBytes(doc));
    if (!again.ok || static_cast<int>(again.yarns.size()) != doc.count()) std::abort();
    for (int i = 0; i < doc.count(); ++i)
        if (!(again.yarns[static_cast<std::size_t>(i)] == doc.yarn(i))) std::abort();

    std::string text;
    for (int i = 0; i < doc.count(); ++i) {
        qb::CYarn y = doc.yarn(i);
        y.NormalizeForFile();
        text += qb::YarnTextLine(y) + "\r\n";
    }
    const qb::YarnTextRead t = qb::ParseYarnText(text, qb::kMaxYarns);
    if (static_cast<int>(t.yarns.size()) != doc.count()) std::abort();
    for (int i = 0; i < doc.count(); ++i) {
        qb::CYarn y = doc.yarn(i);
        y.NormalizeForFile();
        if (!(t.yarns[static_cast<std::size_t>(i)] == y)) std::abort();
    }
    return 0;
}
