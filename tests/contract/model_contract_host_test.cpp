// The document model against the text control contract.

#include "tests/contract/text_control_contract.h"

#include "editor/control/text_model.h"

namespace quillet::contract {
namespace {

class ModelTraits {
public:
    TextContent& Control() { return model_; }

private:
    TextModel model_;
};

using Models = ::testing::Types<ModelTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Model, TextControlContract, Models);

} // namespace
} // namespace quillet::contract
