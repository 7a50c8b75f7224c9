// The document model against the text control contract, on the in-memory file system.

#include "tests/contract/text_control_contract.h"

#include "editor/control/text_model.h"
#include "tests/fakes/cp1251_codec.h"
#include "tests/fakes/fake_file_system.h"

namespace quillet::contract {
namespace {

class ModelTraits {
public:
    TextControl& Control() { return model_; }

    std::u16string TempPath(std::u16string_view name) { return u"C:\\temp\\" + std::u16string(name); }

    void CreateReadOnlyFile(std::u16string_view path, std::string_view bytes) {
        files_.files[std::u16string(path)] = std::string(bytes);
        files_.readOnly.insert(std::u16string(path));
    }

    std::string ReadFile(std::u16string_view path) { return files_.files.at(std::u16string(path)); }

private:
    fakes::FakeFileSystem files_;
    fakes::Cp1251Codec codec_;
    TextModel model_{files_, codec_};
};

using Models = ::testing::Types<ModelTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Model, TextControlContract, Models);

} // namespace
} // namespace quillet::contract
