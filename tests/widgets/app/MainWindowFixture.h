#pragma once
// The main window on the fake desktop, with its files in a fresh folder and scripted answers to its
// modal questions.
#include "app/Main.h"
#include "magnifier/Magnifier.h"
#include "platform/FakePlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace tintara::testing {

inline std::string readFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() / ("tintara-widget-" + std::to_string(rd()));
        std::filesystem::create_directories(dir);
        platform.fillScreen(0x000000);
        platform.setCursorPos(500, 500);
        platform.setForeground(true);
    }

    void TearDown() override
    {
        window.reset();
        std::filesystem::remove_all(dir);
    }

    // Creates and shows the window; files placed in `dir` beforehand are read.
    TfrmMain& open()
    {
        MainWindowEnvironment env;
        env.platform = &platform;
        env.settingsPath = dir / "Tintara.ini";
        env.palettePath = dir / "palettes.xml";
        env.askFourK = [this](QWidget*) {
            ++questions;
            return answerYes;
        };
        env.inputBox = [this](QWidget*, const QString& prompt, const QString& text) -> std::optional<QString> {
            prompts.push_back(prompt);
            defaults.push_back(text);
            return inputAnswer;
        };
        env.chooseColor = [this](QWidget*, TColor) { return chosenColor; };
        env.showError = [this](QWidget*, const QString& message) { errors.push_back(message); };
        window = std::make_unique<TfrmMain>(std::move(env));
        window->timTintara->stop(); // the tests drive the ticks themselves
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return *window;
    }

    // Puts a solid colour under the cursor and runs one tick.
    void sample(TColor c)
    {
        platform.fillScreen(c);
        platform.setCursorPos(platform.cursor().x == 500 ? 501 : 500, 500); // a move makes the magnifier look
        window->timTintaraTimer();
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(k), mods);
    }

    void typeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    std::filesystem::path dir;
    FakePlatform platform{1280, 1024};
    std::unique_ptr<TfrmMain> window;
    int questions = 0;
    bool answerYes = false;
    std::optional<QString> inputAnswer;
    std::vector<QString> prompts;
    std::vector<QString> defaults;
    std::optional<TColor> chosenColor;
    std::vector<QString> errors;
};

} // namespace tintara::testing
