#include "script/FixedTexts.h"

namespace qloom {
namespace embedded {
extern const std::string_view kCommentBlock;
extern const std::string_view kRuntimeTemplate;
extern const std::string_view kEditingLayer;
extern const std::string_view kDefaultPage;
extern const std::string_view kReadMeText;
} // namespace embedded

std::string_view CommentBlock() {
    return embedded::kCommentBlock;
}
std::string_view RuntimeTemplate() {
    return embedded::kRuntimeTemplate;
}
std::string_view EditingLayer() {
    return embedded::kEditingLayer;
}
std::string_view DefaultPage() {
    return embedded::kDefaultPage;
}
std::string_view ReadMeText() {
    return embedded::kReadMeText;
}

} // namespace qloom
