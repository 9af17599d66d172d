#pragma once
// The three scanner calls the program makes, served by SANE: the choice of the source, whether
// the scan window is shown, and a scan into a BMP file. The windows are the runtime's own; tests
// drive them through their hooks.
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace vb {

class Form;
namespace Scanner {
class Scan;
struct Device;
}

// Lets the user choose the scanner that later scans use. 1 when a source was chosen, 0 otherwise.
long TWAIN_SelectImageSource(const Form* owner);
// 0: scans show the scan window; otherwise they start at once with the device's own settings
// (the window then only shows the progress with its cancel).
void TWAIN_SetHideUI(long hide);
// Scans one picture into path as a BMP. 0 only when the picture was written; a cancel, a device
// error or a failed write leave the file as it was.
long TWAIN_AcquireToFilename(const Form* owner, const QString& path);

// The source choice window.
class ScanSourceWindow : public QDialog {
public:
    explicit ScanSourceWindow(QWidget* parent);
    int DeviceCount() const;
    QString DeviceName(int row) const;
    void setCurrentRow(int row);
    QString StatusText() const;
    void Auswaehlen_Click(); // choose
    void Abbrechen_Click();  // cancel

private:
    void devicesFound(const QList<Scanner::Device>* list);
    QListWidget* m_list;
    QLabel* m_status;
    QPushButton* m_choose;
    QStringList m_names;
};

// The scan window: device, mode, resolution; a progress bar with its cancel while the device reads.
class ScanWindow : public QDialog {
public:
    enum class Event { Ready, Progress, Error, Written };
    ScanWindow(QWidget* parent, QString path, bool hideUi);
    ~ScanWindow() override;

    QStringList Devices() const;                // device names
    QStringList Modes() const;                  // the device's own mode names
    QList<int> Resolutions() const;
    QString Device() const;
    QString Mode() const;
    int Resolution() const;
    void setDevice(const QString& name);        // the device's options are read anew (Ready follows)
    void setMode(const QString& saneMode);
    void setResolution(int dpi);
    bool Scanning() const { return m_scan != nullptr; }
    int ProgressValue() const;                  // 0 to 1000
    QString StatusText() const;

    void Scannen_Click();
    void Abbrechen_Click();

protected:
    void reject() override; // the window's close acts as Abbrechen

private:
    void devicesFound(const QList<Scanner::Device>* list);
    void readOptions();
    void finished(const QImage& image, const QString& error, bool cancelled);
    void fail(const QString& text);
    void setBusy(bool busy);
    void notify(Event e);

    QString m_path;
    bool m_hideUi;
    QComboBox* m_device;
    QComboBox* m_mode;
    QComboBox* m_resolution;
    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_start;
    QPushButton* m_cancel;
    std::shared_ptr<Scanner::Scan> m_scan;
    int m_optionsRequest = 0;
};

// Tests answer the windows through Seams::scanSourceWindow and Seams::scanWindow; a hook that
// leaves a window open lets it run as the user would.

} // namespace vb
