#include "cli/ProjectJson.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qloom;
using namespace qloom::cli;

namespace {

std::unique_ptr<Project> projectWith(int menus) {
    auto p = std::make_unique<Project>();
    for (int i = 0; i < menus; ++i)
        EXPECT_TRUE(AddMenu(*p).ok());
    return p;
}

std::string refusal(const std::string& json) {
    auto p = projectWith(0);
    const Status status = ProjectFromJsonText(json, *p);
    EXPECT_FALSE(status.ok) << json;
    return status.message;
}

} // namespace

TEST(ProjectJson, OneDefaultMenuInTheDocumentedShape) {
    auto p = projectWith(1);
    EXPECT_EQ(ProjectToJson(*p).dump(),
              R"({"settings":{"scrIN":20,"scrOUT":10,"cDefCap":"#FFFFFF","cDefMenu":"#FFFFFF",)"
              R"("fDefCap":"Arial","fDefMenu":"Arial","fDefCapS":12,"fDefMenuS":12,)"
              R"("template":"Temp.html","smallScreenBreakpoint":-1,"smallScreenPlace":0,)"
              R"("smallScreenCaption":"Menu"},"selectedMenu":0,)"
              R"("menus":[{"MTC":"Caption","MTCH":22,"MTM":"Blank menu","MX":10,"MY":10,)"
              R"("MW":150,"CO":"transparent","CC":"#000000","CM":"#008080",)"
              R"("MA":0,"FL":1,"OO":0}]})");
}

TEST(ProjectJson, EveryByteOfEveryTextRoundTrips) {
    auto p = projectWith(3);
    p->menus[0].captionHtml = "caf\xE9 <B>\"x\"</B>\r\nC:\\dir\\"; // Latin-1: not UTF-8
    p->menus[0].bodyHtml = std::string("nul\0byte", 8);
    p->menus[1].captionHtml = "\xE2\x82\xAC 5";
    p->menus[2].bodyHtml = "\xFF";
    p->menus[2].left = -2147483647 - 1;
    p->menus[1].orientation = 1;
    p->selected = 2;
    p->settings.captionFont = "Fa\xE7"
                              "ade";
    p->settings.bodyTextColor = 0x123456;
    p->settings.templateFileName = "page.htm";

    const auto doc = ProjectToJson(*p);
    EXPECT_TRUE(doc["menus"][0]["MTC"].is_object());
    EXPECT_TRUE(doc["menus"][1]["MTC"].is_string());
    EXPECT_TRUE(doc["settings"]["fDefCap"].is_object());

    auto back = projectWith(0);
    back->settings.projectFolder = "/kept";
    const Status status = ProjectFromJsonText(doc.dump(), *back);
    ASSERT_TRUE(status.ok) << status.message;
    EXPECT_TRUE(back->sameMenus(*p));
    EXPECT_EQ(back->settings.projectFolder, "/kept");
    back->settings.projectFolder.clear();
    EXPECT_EQ(back->settings, p->settings);
}

TEST(ProjectJson, AbsentFieldsTakeNewProjectAndFirstMenuValues) {
    auto p = projectWith(4);
    p->settings.closeStep = 5;
    ASSERT_TRUE(ProjectFromJsonText(R"({"menus":[{},{"MX":-5,"OO":1,"CO":"#abcdef"}]})", *p).ok);
    EXPECT_EQ(p->settings, ProjectSettings{});
    EXPECT_EQ(p->menuCount(), 2);
    EXPECT_EQ(p->selected, 0);
    auto expected = projectWith(2);
    expected->menus[1].left = -5;
    expected->menus[1].top = 10;
    expected->menus[1].orientation = 1;
    expected->menus[1].bottomColor = "#abcdef"; // kept as given, as the reader keeps it
    expected->selected = 0;
    EXPECT_TRUE(p->sameMenus(*expected));

    ASSERT_TRUE(ProjectFromJsonText("{}", *p).ok);
    EXPECT_EQ(p->menuCount(), 0);
}

TEST(ProjectJson, RefusalsNameTheFieldAndTheRule) {
    struct Case {
        const char* json;
        std::string message;
    };
    const std::vector<Case> cases = {
        {R"({"menus":[{},{"MW":2147483648}]})",
         "menus[1].MW: must be from -2147483648 to 2147483647"},
        {R"({"menus":[{"MTCH":-2147483649}]})",
         "menus[0].MTCH: must be from -2147483648 to 2147483647"},
        {R"({"menus":[{"MW":1.5}]})", "menus[0].MW: must be a whole number"},
        {R"({"menus":[{"MW":"12"}]})", "menus[0].MW: must be a whole number"},
        {R"({"menus":[{"MA":true}]})", "menus[0].MA: must be a whole number"},
        {R"({"menus":[{"MX":2147483648}]})", "menus[0].MX: must be from -2147483648 to 2147483647"},
        {R"({"menus":[{"MY":18446744073709551615}]})",
         "menus[0].MY: must be from -2147483648 to 2147483647"},
        {R"({"menus":[{"CO":"red;"}]})", "menus[0].CO: " + std::string(msg::kCliNotColour)},
        {R"({"menus":[{"CM":""}]})", "menus[0].CM: " + std::string(msg::kCliNotColour)},
        {R"({"menus":[{"CC":"<b>"}]})", "menus[0].CC: " + std::string(msg::kCliNotColour)},
        {R"({"menus":[{"MTC":5}]})",
         "menus[0].MTC: must be a string or an object {\"base64\": \"...\"}"},
        {R"({"menus":[{"MTM":{"base64":"Zg="}}]})", "menus[0].MTM: holds no valid base64 text"},
        {R"({"menus":[{"mx":1}]})", "menus[0].mx: is not a field of a project"},
        {R"({"menus":[5]})", "menus[0]: must be an object"},
        {R"({"menus":{}})", "menus: must be an array"},
        {R"({"extra":1})", "extra: is not a field of a project"},
        {R"({"settings":{"scrIN":-2147483649}})",
         "settings.scrIN: must be from -2147483648 to 2147483647"},
        {R"({"settings":{"cDefCap":"transparent"}})",
         "settings.cDefCap: must be # followed by six hexadecimal digits"},
        {R"({"settings":{"cDefCap":"x808080"}})",
         "settings.cDefCap: must be # followed by six hexadecimal digits"},
        {R"({"settings":{"cDefMenu":"#8080800"}})",
         "settings.cDefMenu: must be # followed by six hexadecimal digits"},
        {R"({"settings":{"template":".."}})",
         "settings.template: " + std::string(msg::kCliBadTemplateName)},
        {R"({"settings":{"template":"C:\\page.html"}})",
         "settings.template: " + std::string(msg::kCliBadTemplateName)},
        {R"({"settings":{"smallScreenBreakpoint":-2}})",
         "settings.smallScreenBreakpoint: must be from -1 to 2147483647"},
        {R"({"settings":{"smallScreenPlace":3}})",
         "settings.smallScreenPlace: must be from 0 to 2"},
        {R"({"settings":{"smallScreenCaption":"two\nlines"}})",
         "settings.smallScreenCaption: " + std::string(msg::kCliBadButtonCaption)},
        {R"({"settings":{"smallScreenCaption":" "}})",
         "settings.smallScreenCaption: " + std::string(msg::kCliBadButtonCaption)},
        {R"({"selectedMenu":2,"menus":[{},{}]})", "selectedMenu: must be from 0 to 1"},
        {R"({"selectedMenu":1})", "selectedMenu: must be from 0 to 0"},
        {R"([1,2])", "project: must be an object"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusal(c.json), c.message) << c.json;

    const std::string badText = std::string(msg::kCliBadSettingText);
    for (const char* json :
         {R"({"settings":{"fDefCap":"a/b"}})", R"({"settings":{"fDefCap":"'Arial'"}})",
          R"({"settings":{"fDefCap":""}})", R"({"settings":{"fDefMenu":"x\ny"}})",
          R"({"settings":{"fDefMenu":"x\ry"}})"}) {
        const std::string message = refusal(json);
        EXPECT_NE(message.find(badText), std::string::npos) << json << " -> " << message;
        EXPECT_EQ(message.rfind("settings.", 0), 0u) << message;
    }
}

TEST(ProjectJson, MalformedTextAndRefusalsLeaveTheProjectAlone) {
    auto p = projectWith(2);
    p->menus[1].captionHtml = "kept";
    auto before = projectWith(2);
    before->menus[1].captionHtml = "kept";

    const Status malformed = ProjectFromJsonText(R"({"menus":[{]})", *p);
    EXPECT_FALSE(malformed.ok);
    EXPECT_EQ(malformed.message.rfind("Malformed JSON: ", 0), 0u) << malformed.message;
    EXPECT_EQ(malformed.message.find("[json.exception"), std::string::npos);

    EXPECT_FALSE(ProjectFromJsonText("\"caf\xE9\"", *p).ok); // raw non-UTF-8 is not JSON
    EXPECT_FALSE(ProjectFromJsonText(R"({"settings":{"scrIN":5},"menus":[{"CO":"a;b"}]})", *p).ok);
    EXPECT_TRUE(p->sameMenus(*before));
    EXPECT_EQ(p->settings, before->settings);
}

TEST(ProjectJson, CapacityIsTheLimit) {
    std::string json = R"({"menus":[)";
    for (int i = 0; i <= Project::kCapacity; ++i)
        json += i == 0 ? "{}" : ",{}";
    json += "]}";
    EXPECT_EQ(refusal(json), "menus: holds more than 10000 menus");
}
