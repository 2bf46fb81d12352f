// Any bytes must give a draft or a clear failure: no crash, no hang, no
// unbounded memory. What was read must also save and read back.
#include "core/draft/iprompter.h"
#include "core/draft/quillabydoc.h"
#include "core/wif/inifile.h"
#include "core/wif/wifreader.h"
#include "core/wif/wifwriter.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class FuzzMessages final : public qb::IPrompter {
public:
    explicit FuzzMessages(bool answer) : m_answer(answer) {}
    void tell(const std::string&) override {}
    bool ask(const std::string&) override { return m_answer; }

private:
    bool m_answer;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const qb::IniFile ini(bytes);
    FuzzMessages messages(size % 2 == 0);
    qb::CQuillabyDoc doc;
    qb::WifReader reader(ini, messages);
    if (!reader.open(doc, {})) return 0;
    const std::string text = qb::WifText(doc, "1/1/2000");
    qb::CQuillabyDoc back;
    const qb::IniFile again(text);
    qb::WifReader(again, messages).open(back, {});
    return 0;
}
