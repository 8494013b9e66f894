#include <VellMetadataContainer/RecorderInfo.h>

#include <string>

#include <gtest/gtest.h>

TEST(RecorderInfo, SplitsMakerIdentifierDetailsAndModel)
{
    struct Case {
        std::string text;
        const char* model; // with the maker understood; null: nothing understood
        const char* identifier;
        const char* details;
    };
    const Case cases[] = {
        {"Codex Digital;A7;1.SIM2.3", "SIM2", "A7", "1.SIM2.3"},
        {"Codex Digital;A7;1.2.3", "Outboard", "A7", "1.2.3"},
        {"Codex Digital;A7;1..3", "Outboard", "A7", "1..3"},
        {"Codex Digital;A7;1.SIM23.4", "Outboard", "A7", "1.SIM23.4"},
        {"Codex Digital;A7;1.SIM2", "", "A7", "1.SIM2"},           // one dot: no model
        {"Codex Digital;1.SIM2.3;7", "", "1.SIM2.3", "7"},         // dots of the identifier do not count
        {"Codex Digital;X;1.SIM2.3;more", "SIM2", "X", "1.SIM2.3;more"},
        {"Codex Digital;;", "", "", ""},
        {"Codex Digital;", "", "", ""},
        {"Codex Digital", nullptr, "", ""},
        {"codex digital;A7;1.SIM2.3", nullptr, "", ""},
        {" Codex Digital;A7;1.SIM2.3", nullptr, "", ""},
    };
    for (const Case& k : cases) {
        const Vmc::RecorderInfo info = Vmc::parseRecorderInfo(k.text);
        EXPECT_EQ(info.manufacturer, k.model ? "Codex Digital" : "") << k.text;
        EXPECT_EQ(info.model, k.model ? k.model : "") << k.text;
        EXPECT_EQ(info.identifier, k.identifier) << k.text;
        EXPECT_EQ(info.details, k.details) << k.text;
    }
}
