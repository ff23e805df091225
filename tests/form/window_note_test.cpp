// The window says what shapes the outline unseen, and the font dialog's
// bold is the outline's.
#include "fake_view.hpp"

#include "../export/export_test_support.hpp"
#include "form/text_settings.hpp"
#include "outline/outline_dump.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace lw::test {
namespace {

using PreviewCommand::RestoreDesign;
using PreviewCommand::TextStyle;

std::string dumpOf(const CapturedOutline& o) { return dumpOutline(o); }

// The outline of the design text with the style's bold chosen in the text
// style dialog: what the font dialog's bold must draw too.
std::string boldByStyleDialog(const std::vector<std::string>& words)
{
    FakeView view;
    view.textStyleDialog = true;
    Form1 form(view);
    form.load(words);
    view.answerStyle = [](const lw::TextStyle& preset) {
        lw::TextStyle bold = preset;
        bold.bold = true;
        return std::optional<lw::TextStyle>(bold);
    };
    form.run(TextStyle);
    return dumpOf(form.capturedOutline());
}

TEST(Form1Bold, TheFontDialogsBoldIsTheOutlinesAndTheStyleDialogShowsIt)
{
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 0 0\r\nhs 1 1\r\nlg1\r\n");
    const struct {
        const char* name;
        std::vector<std::string> words;
    } modes[] = {{"own", {}}, {"JW", {"JW", dir / "cmd.txt", dir / "out.txt"}}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        const std::string bold = boldByStyleDialog(mode.words);
        FakeView view;
        view.textStyleDialog = true;
        Form1 form(view);
        form.load(mode.words);
        const std::string regular = dumpOf(form.capturedOutline());
        ASSERT_NE(regular, bold);

        // Bold in the font dialog: the outline, the text box and the style
        // dialog's preset all bold.
        view.answerFont = [](WindowFont f) {
            f.bold = true;
            return f;
        };
        form.run(&Form1::cmdFont_Click);
        EXPECT_EQ(dumpOf(form.capturedOutline()), bold);
        EXPECT_TRUE(view.inputFont.bold);
        view.answerStyle = [](const lw::TextStyle& preset) { return std::optional<lw::TextStyle>(preset); };
        form.run(TextStyle);
        ASSERT_FALSE(view.stylePresets.empty());
        EXPECT_TRUE(view.stylePresets.back().first.bold);

        // Bold cleared in the style dialog: the font dialog opens regular.
        view.answerStyle = [](lw::TextStyle preset) {
            preset.bold = false;
            return std::optional<lw::TextStyle>(preset);
        };
        form.run(TextStyle);
        EXPECT_EQ(dumpOf(form.capturedOutline()), regular);
        EXPECT_FALSE(view.inputFont.bold);
        view.answerFont = [](const WindowFont& f) { return f; };
        form.run(&Form1::cmdFont_Click);
        EXPECT_FALSE(view.presets.back().bold);
        EXPECT_EQ(dumpOf(form.capturedOutline()), regular);
    }
}

// What an earlier run left behind is said on the main window at the start,
// worded from the design's captions, and the design's font (F11) clears it
// all, the save's anchor and mirror included.
TEST(Form1WindowNote, RememberedStyleAnchorAndMirrorAreSaidAndTheDesignFontClearsThem)
{
    ScratchDir dir;
    writeBytes(dir / "cmd.txt", "hp1 0 0\r\n");
    const std::vector<std::string> jw = {"JW", dir / "cmd.txt", dir / "out.txt"};
    const struct {
        const char* name;
        std::map<std::string, std::string, std::less<>> textSettings;
        CadChoices cad;
        std::vector<std::string> words;
        std::vector<std::string> says; // in English; nothing: no note
    } cases[] = {
        {"nothing remembered", {}, {}, {}, {}},
        {"width", {{"width", "80"}}, {}, {}, {"Text style: Width 80 %"}},
        {"width in JW", {{"width", "80"}}, {}, jw, {"Text style: Width 80 %"}},
        {"spacing and bold", {{"spacing", "1.5"}, {"bold", "1"}}, {}, {},
         {"Text style: Spacing 1.5 pt (0.529 mm), Bold"}},
        {"anchor and mirror", {}, {.anchor = Anchor::Centre, .mirror = Mirror::X}, {},
         {"Anchor: Centre", "Mirror: Left to right (x)"}},
        // The host's drawing is placed by its own base point.
        {"anchor in JW", {}, {.anchor = Anchor::Centre}, jw, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeView view;
        view.textSettings = c.textSettings;
        SaveSettings stored;
        stored.cad = c.cad;
        view.storedSettings = stored;
        Form1 form(view);
        form.load(c.words);
        const WindowNote shown = view.windowNotes.empty() ? WindowNote{} : view.windowNotes.back();
        const std::string english = windowNoteFor(shown, Language::English);
        EXPECT_EQ(english.empty(), c.says.empty()) << english;
        for (const std::string& part : c.says)
            EXPECT_NE(english.find(part), std::string::npos) << english;
        EXPECT_EQ(windowNoteFor(shown, Language::Japanese).empty(), c.says.empty());

        form.run(RestoreDesign);
        EXPECT_TRUE(view.windowNotes.empty() || view.windowNotes.back().isEmpty());
        EXPECT_EQ(form.textStyle(), lw::TextStyle{});
        EXPECT_EQ(decodeTextSettings([&](std::string_view n) -> std::optional<std::string> {
                      const auto found = view.textSettings.find(n);
                      return found == view.textSettings.end() ? std::nullopt : std::optional(found->second);
                  }).style,
                  lw::TextStyle{});
        if (c.words.empty()) {
            ASSERT_TRUE(view.storedSettings);
            EXPECT_EQ(view.storedSettings->cad.anchor, Anchor::BaselineLeft);
            EXPECT_EQ(view.storedSettings->cad.mirror, Mirror::None);
        } else {
            // A run mode never writes the save's settings.
            EXPECT_EQ(view.storedSettings->cad, c.cad);
        }
    }
}

// A save names the file it wrote on the note line until the text changes;
// a save that fails names none.
TEST(Form1WindowNote, ASaveSaysWhereItWrote)
{
    ScratchDir dir;
    const struct {
        const char* name;
        std::string path;
        bool written;
    } cases[] = {
        {"written", dir / "出口.dxf", true},
        {"into a folder that is not there", dir / "none/x.dxf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.view.onMessage = [] {};
        w.view.answerSave = [&](SaveChoice preset) {
            preset.path = c.path;
            preset.format = SaveFormat::Dxf;
            return std::optional<SaveChoice>(preset);
        };
        w.form.run(&Form1::cmdOK_Click);
        EXPECT_EQ(std::filesystem::exists(std::filesystem::u8path(c.path)), c.written);
        const WindowNote shown = w.view.windowNotes.empty() ? WindowNote{} : w.view.windowNotes.back();
        EXPECT_EQ(shown.savedTo, c.written ? c.path : std::string());
        if (c.written) {
            EXPECT_NE(windowNoteFor(shown, Language::English).find("Saved: " + c.path), std::string::npos);
        }
        w.edit(TextBox::txtInput, "A", &Form1::txtInput_Change);
        EXPECT_TRUE(w.view.windowNotes.empty() || w.view.windowNotes.back().savedTo.empty());
    }
}

} // namespace
} // namespace lw::test

#ifndef _WIN32
namespace lw::test {
namespace {

// WIT mode says at the start when its converter is missing, as JW mode
// checks its files; a converter that fails at OK is told and the typed text
// stays in a window that goes on.
TEST(Form1Wit, AMissingConverterIsSaidAtTheStartAndOkKeepsTheText)
{
    enum class Converter { Runs, Missing, Folder, NotRunnable };
    const struct {
        const char* name;
        Converter converter;
    } cases[] = {{"runs", Converter::Runs},
                 {"missing", Converter::Missing},
                 {"a folder of its name", Converter::Folder},
                 {"not runnable", Converter::NotRunnable}};
    const std::string path = std::getenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const std::string log = dir / "mfin.log";
        if (c.converter == Converter::Folder)
            std::filesystem::create_directory(dir / "mfin");
        else if (c.converter != Converter::Missing)
            writeBytes(dir / "mfin", "#!/bin/sh\necho \"$2\" >> '" + log + "'\n");
        if (c.converter == Converter::Runs)
            ::chmod((dir / "mfin").c_str(), 0755);
        // Only the scratch folder and the system's: no converter of the machine's.
        ::setenv("PATH", (dir.path().string() + ":/usr/bin:/bin").c_str(), 1);
        testing::internal::CaptureStderr();
        Window w({"WIT", dir / "out.jww"});
        w.view.folder = dir.path().string();
        const bool runs = c.converter == Converter::Runs;
        EXPECT_EQ(w.view.messages.size(), runs ? 0u : 1u);
        w.edit(TextBox::txtInput, "出口 8", &Form1::txtInput_Change);
        w.form.run(&Form1::cmdOK_Click);
        w.form.run(&Form1::Command2_Click);
        testing::internal::GetCapturedStderr();
        ::setenv("PATH", path.c_str(), 1);
        EXPECT_TRUE(w.view.endings.empty());
        EXPECT_EQ(w.view.texts[TextBox::txtInput], "出口 8");
        EXPECT_EQ(w.view.messages.size(), runs ? 0u : 3u);
        if (!runs)
            continue;
        std::string started;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::count(started.begin(), started.end(), '\n') < 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            started = readBytes(log);
        }
        EXPECT_EQ(started, dir / "out.jww" + "\n" + dir / "out.jww" + "\n");
    }
}

} // namespace
} // namespace lw::test
#endif
