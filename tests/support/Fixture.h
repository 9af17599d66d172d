#pragma once
// A fresh program for each test: its own program folder, a standard screen, fresh windows and
// shared state, no real dialogs, and an end of the program that the test can see.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "platform/window/App.h"
#include "platform/window/Screen.h"

namespace vb {
class Form;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Answers for the windows shown modally, in order; a window without an answer is closed
    // with its cancel.
    using Answer = std::function<void(vb::Form&)>;
    void answer(Answer a) { m_answers.push_back(std::move(a)); }
    // The message window answered with OK (1), Abbrechen (0) or Verzeichnis (4).
    void answerInfo(int mode);
    // Texts the message window was shown with, in order.
    std::vector<QString> shownInfos;

    QString dir() const { return m_dir->path() + QLatin1Char('/'); }
    QString file(const QString& name) const { return dir() + name; }
    void useScreen(int width, int height, int dpi, int bits = 32);
    bool ended() const { return m_ended; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::deque<Answer> m_answers;
    bool m_ended = false;
};

// The program's message for a work file of its folder that could not be written, with what
// stays as it was: the logo (photo false) or the photo.
QString workFileNotWritten(const QString& name, bool photo);

// The file dialog answered with the name `ziel` holds when it is asked; the name it proposed is
// put into `vorgeschlagen`.
void answerFileDialog(QString& vorgeschlagen, const QString& ziel);

// Writes a picture file for a test.
void writeImage(const QString& path, const QImage& img, const char* format = "BMP");
