#include "platform/capture/Twain.h"

#include "platform/window/Form.h"
#include "platform/system/SafeFile.h"
#include "platform/capture/Scanner.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vb {
namespace {

bool g_hideUi = false;

std::function<void(ScanSourceWindow&)>& sourceHook() { return seams().scanSourceWindow; }
std::function<void(ScanWindow&, ScanWindow::Event)>& scanHook() { return seams().scanWindow; }

bool gui() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }
QWidget* ownerWidget(const Form* owner) { return owner ? owner->Widget() : nullptr; }

// A device search that does not end (a network backend waiting for an answer) is given up.
constexpr int kSearchTimeoutMs = 20000;
const QString kNoDevice = QStringLiteral("Es wurde kein Scanner gefunden.");
const QString kNoAnswer = QStringLiteral("Die Suche nach Scannern bekommt keine Antwort.");
const QString kNotKept = QStringLiteral("Die Auswahl kann nicht gespeichert werden: Die Einstellungsdatei ist nicht beschreibbar.");

// Writes the picture as a BMP through a temporary file, so a failed write leaves the old file.
bool writeBmp(const QImage& image, const QString& path) {
    return ReplaceFile(path, [&](QIODevice& f) { return QImageWriter(&f, "bmp").write(image.convertToFormat(QImage::Format_RGB32)); }) ==
           Replacement::Done;
}
} // namespace

// ---------------------------------------------------------------- source choice

ScanSourceWindow::ScanSourceWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Scannerquelle auswählen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Mit welchem Scanner soll gescannt werden?"), this));
    m_list = new QListWidget(this);
    m_list->setMinimumSize(360, 160);
    layout->addWidget(m_list);
    m_status = new QLabel(QStringLiteral("Scanner werden gesucht …"), this);
    layout->addWidget(m_status);
    auto* buttons = new QDialogButtonBox(this);
    m_choose = buttons->addButton(QStringLiteral("Auswählen"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    m_choose->setEnabled(false);
    connect(m_choose, &QPushButton::clicked, this, [this] { Auswaehlen_Click(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { Abbrechen_Click(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Auswaehlen_Click(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_choose->setEnabled(row >= 0); });

    Scanner::ListDevicesAsync(this, false, [this](std::optional<QList<Scanner::Device>> list) {
        devicesFound(list ? &*list : nullptr);
    });
    QTimer::singleShot(kSearchTimeoutMs, this, [this] {
        if (m_status->text() != QStringLiteral("Scanner werden gesucht …")) return;
        m_status->setText(kNoAnswer);
        if (sourceHook()) sourceHook()(*this);
    });
}

void ScanSourceWindow::devicesFound(const QList<Scanner::Device>* list) {
    m_list->clear();
    m_names.clear();
    if (list)
        for (const Scanner::Device& d : *list) {
            m_list->addItem(d.Label());
            m_names << d.name;
        }
    m_status->setText(m_names.isEmpty() ? kNoDevice : QString());
    const int current = m_names.indexOf(Scanner::DefaultSource());
    if (!m_names.isEmpty()) m_list->setCurrentRow(current >= 0 ? current : 0);
    if (sourceHook()) sourceHook()(*this);
}

int ScanSourceWindow::DeviceCount() const { return int(m_names.size()); }
QString ScanSourceWindow::DeviceName(int row) const { return m_names.value(row); }
void ScanSourceWindow::setCurrentRow(int row) { m_list->setCurrentRow(row); }
QString ScanSourceWindow::StatusText() const { return m_status->text(); }

void ScanSourceWindow::Auswaehlen_Click() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_names.size()) return;
    if (!Scanner::SetDefaultSource(m_names[row])) {
        // A choice that is not kept would be forgotten silently: the window stays and says why.
        m_status->setText(kNotKept);
        return;
    }
    accept();
}

void ScanSourceWindow::Abbrechen_Click() { QDialog::reject(); }

long TWAIN_SelectImageSource(const Form* owner) {
    if (!gui()) return 0;
    ScanSourceWindow w(ownerWidget(owner));
    w.setWindowModality(Qt::ApplicationModal);
    return w.exec() == QDialog::Accepted ? 1 : 0;
}

// ---------------------------------------------------------------- scan window

ScanWindow::ScanWindow(QWidget* parent, QString path, bool hideUi)
    : QDialog(parent), m_path(std::move(path)), m_hideUi(hideUi) {
    setWindowTitle(QStringLiteral("Scannen"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_device = new QComboBox(this);
    m_mode = new QComboBox(this);
    m_resolution = new QComboBox(this);
    m_device->setMinimumWidth(300);
    form->addRow(QStringLiteral("Scanner:"), m_device);
    form->addRow(QStringLiteral("Modus:"), m_mode);
    form->addRow(QStringLiteral("Auflösung:"), m_resolution);
    layout->addLayout(form);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);
    m_status = new QLabel(QStringLiteral("Scanner werden gesucht …"), this);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    auto* buttons = new QDialogButtonBox(this);
    m_start = buttons->addButton(QStringLiteral("Scannen"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    if (m_hideUi) {
        // Without the settings only the progress and its cancel are shown.
        for (int i = 0; i < form->rowCount(); ++i) form->setRowVisible(i, false);
        m_start->setVisible(false);
    }
    setBusy(true);
    m_cancel->setEnabled(true);
    connect(m_start, &QPushButton::clicked, this, [this] { Scannen_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { Abbrechen_Click(); });
    connect(m_device, &QComboBox::currentIndexChanged, this, [this] { readOptions(); });

    Scanner::ListDevicesAsync(this, false, [this](std::optional<QList<Scanner::Device>> list) {
        devicesFound(list ? &*list : nullptr);
    });
    QTimer::singleShot(kSearchTimeoutMs, this, [this] {
        if (m_device->count() == 0 && m_status->text() == QStringLiteral("Scanner werden gesucht …")) fail(kNoAnswer);
    });
}

ScanWindow::~ScanWindow() {
    if (m_scan) m_scan->Cancel();
}

void ScanWindow::devicesFound(const QList<Scanner::Device>* list) {
    if (!list || list->isEmpty()) return fail(kNoDevice);
    const QSignalBlocker block(m_device);
    m_device->clear();
    for (const Scanner::Device& d : *list) m_device->addItem(d.Label(), d.name);
    const int current = m_device->findData(Scanner::DefaultSource());
    m_device->setCurrentIndex(current >= 0 ? current : 0);
    readOptions();
}

void ScanWindow::readOptions() {
    setBusy(true);
    m_cancel->setEnabled(true);
    m_status->setText(QStringLiteral("Der Scanner wird abgefragt …"));
    const int request = ++m_optionsRequest;
    Scanner::OptionsAsync(this, Device(), [this, request](std::optional<Scanner::Options> o, QString error) {
        if (request != m_optionsRequest) return; // another device was chosen meanwhile
        if (!o) return fail(error);
        {
            const QSignalBlocker b1(m_mode), b2(m_resolution);
            m_mode->clear();
            for (const QString& m : o->modes) m_mode->addItem(Scanner::ModeName(m), m);
            m_mode->setCurrentIndex(std::max(0, m_mode->findData(o->mode)));
            m_resolution->clear();
            for (int dpi : o->resolutions) m_resolution->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
            m_resolution->setCurrentIndex(std::max(0, m_resolution->findData(o->resolution)));
        }
        setBusy(false);
        m_status->setText(QStringLiteral("Bereit."));
        notify(Event::Ready);
        if (m_hideUi && !m_scan && isVisible()) Scannen_Click();
    });
}

QStringList ScanWindow::Devices() const {
    QStringList out;
    for (int i = 0; i < m_device->count(); ++i) out << m_device->itemData(i).toString();
    return out;
}
QStringList ScanWindow::Modes() const {
    QStringList out;
    for (int i = 0; i < m_mode->count(); ++i) out << m_mode->itemData(i).toString();
    return out;
}
QList<int> ScanWindow::Resolutions() const {
    QList<int> out;
    for (int i = 0; i < m_resolution->count(); ++i) out << m_resolution->itemData(i).toInt();
    return out;
}
QString ScanWindow::Device() const { return m_device->currentData().toString(); }
QString ScanWindow::Mode() const { return m_mode->currentData().toString(); }
int ScanWindow::Resolution() const { return m_resolution->currentData().toInt(); }
void ScanWindow::setDevice(const QString& name) { m_device->setCurrentIndex(m_device->findData(name)); }
void ScanWindow::setMode(const QString& m) { m_mode->setCurrentIndex(m_mode->findData(m)); }
void ScanWindow::setResolution(int dpi) { m_resolution->setCurrentIndex(m_resolution->findData(dpi)); }
int ScanWindow::ProgressValue() const { return m_progress->value(); }
QString ScanWindow::StatusText() const { return m_status->text(); }

void ScanWindow::Scannen_Click() {
    if (m_scan || Device().isEmpty() || !m_start->isEnabled()) return;
    setBusy(true);
    m_cancel->setEnabled(true);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Der Scanner liest das Bild …"));
    const Scanner::Request r{Device(), Mode(), Resolution()};
    m_scan = Scanner::Scan::Start(
        r, this,
        [this](int permille) {
            if (!m_scan) return;
            if (permille < 0) m_progress->setRange(0, 0); // length unknown: a busy bar
            else m_progress->setValue(permille);
            notify(Event::Progress);
        },
        [this](const Scanner::Scan::Result& res) { finished(res.image, res.error, res.cancelled); });
}

void ScanWindow::Abbrechen_Click() {
    if (m_scan) {
        m_scan->Cancel();
        m_scan.reset();
    }
    QDialog::reject();
}

void ScanWindow::reject() { Abbrechen_Click(); }

void ScanWindow::finished(const QImage& image, const QString& error, bool cancelled) {
    if (!m_scan || cancelled) return; // the window was cancelled: nothing is written
    m_scan.reset();
    if (!error.isEmpty()) return fail(error);
    if (!writeBmp(image, m_path))
        return fail(QStringLiteral("Das gescannte Bild konnte nicht gespeichert werden:\n%1").arg(m_path));
    m_progress->setRange(0, 1000);
    m_progress->setValue(1000);
    notify(Event::Written);
    accept();
}

void ScanWindow::fail(const QString& text) {
    setBusy(false);
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_status->setText(text);
    notify(Event::Error);
}

void ScanWindow::setBusy(bool busy) {
    m_device->setEnabled(!busy);
    m_mode->setEnabled(!busy && m_mode->count() > 0);
    m_resolution->setEnabled(!busy && m_resolution->count() > 0);
    m_start->setEnabled(!busy && !Device().isEmpty());
    m_cancel->setEnabled(true);
}

void ScanWindow::notify(Event e) {
    if (scanHook()) scanHook()(*this, e);
}

void TWAIN_SetHideUI(long hide) { g_hideUi = hide != 0; }

long TWAIN_AcquireToFilename(const Form* owner, const QString& path) {
    if (!gui() || !Scanner::Usable()) return 1;
    ScanWindow w(ownerWidget(owner), path, g_hideUi);
    w.setWindowModality(Qt::ApplicationModal);
    return w.exec() == QDialog::Accepted ? 0 : 1;
}

} // namespace vb
