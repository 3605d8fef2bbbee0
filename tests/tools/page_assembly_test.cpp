// The designer's page as one answer: which parts go inside it and which
// stay links of their own.
#include "design/page_assembly.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::map<std::string, std::string> kParts = {
    {"a.js", "let a = 1 < 2;\n"},
    {"b.js", "let b = '</SCRIPT>';\n"},  // would end the element early
    {"c.js", "let c = '<!-- x';\n"},     // would change how the element ends
    {"s.css", "body { color: red }\n"},
};

std::string Assembled(const std::string& html, const std::string& json = "{}") {
    return AssemblePage(html, [](const std::string& name, std::string* text) {
        auto found = kParts.find(name);
        if (found == kParts.end()) return false;
        *text = found->second;
        return true;
    }, json);
}

struct Case {
    const char* what;
    std::string html;
    std::string json;
    std::string expected;
};

TEST(PageAssembly, InlinesWhatFitsAndLinksTheRest) {
    const Case cases[] = {
        {"scripts in their order", "<head></head><script src=\"a.js?token=T\"></script><script src=\"a.js\"></script>", "{}",
         "<head><script type=\"application/json\" id=\"vocabulary\">{}</script>\n</head>"
         "<script>\nlet a = 1 < 2;\n</script><script>\nlet a = 1 < 2;\n</script>"},
        {"a script that names the end tag stays a link", "<script src=\"b.js?token=T\"></script>", "{}",
         "<script src=\"b.js?token=T\"></script>"},
        {"a script with a comment opener stays a link", "<script src=\"c.js\"></script>", "{}",
         "<script src=\"c.js\"></script>"},
        {"an unknown part stays a link", "<script src=\"x.js\"></script>", "{}", "<script src=\"x.js\"></script>"},
        {"the style sheet", "<link rel=\"stylesheet\" href=\"s.css?token=T\">", "{}",
         "<style>\nbody { color: red }\n</style>"},
        {"the vocabulary's '<' cannot end its element", "<head></head>", "{\"m\":\"</script><!--\"}",
         "<head><script type=\"application/json\" id=\"vocabulary\">{\"m\":\"\\u003c/script>\\u003c!--\"}</script>\n</head>"},
        {"no head: no vocabulary", "<p>", "{}", "<p>"},
    };
    for (const Case& c : cases) EXPECT_EQ(Assembled(c.html, c.json), c.expected) << c.what;
}

}  // namespace
