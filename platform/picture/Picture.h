#pragma once
// A picture object: an immutable image shared by every property it is assigned to. Two
// properties hold "the same picture" exactly when their handles are equal.
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

namespace vb {

class Picture {
public:
    Picture() = default;
    explicit Picture(QImage image);
    bool IsEmpty() const { return !m_data; }
    long Handle() const { return m_data ? m_data->handle : 0; }
    const QImage& Image() const; // a null image when empty
    int Width() const { return m_data ? m_data->image.width() : 0; }   // pixels
    int Height() const { return m_data ? m_data->image.height() : 0; } // pixels
    bool operator==(const Picture& o) const { return Handle() == o.Handle(); }

private:
    struct Data {
        QImage image;
        long handle;
    };
    std::shared_ptr<const Data> m_data;
};

// Loads BMP (1, 4, 8, 24 bits, RLE), JPEG, GIF, ICO, PNG and WMF, told by content. An empty path gives
// the empty picture. Raises 53 for a missing file and 481 for a file that is not one of these
// pictures or whose decoding would exceed the bounds on size, work and time. The window keeps
// repainting and running its timers while a picture is decoded.
Picture LoadPicture(const QString& path = QString());
// The same for a thumbnail, so that a page of slots never holds whole photos: a picture of at least
// twice the box is reduced to cover it (KeepAspectRatioByExpanding), or one larger than the box to
// fit it (KeepAspectRatio). JPEGs are reduced while they are decoded.
Picture LoadThumbnail(const QString& path, QSize box, Qt::AspectRatioMode mode = Qt::KeepAspectRatioByExpanding);
// The size LoadThumbnail gives a picture of the given size.
QSize ThumbnailSize(QSize size, QSize box, Qt::AspectRatioMode mode);
// A picture the program already holds for a file: LoadPicture gives it again without reading
// the file, as long as the file is unchanged (same size, time and inode). One at a time.
void RememberPicture(const QString& path, const Picture& picture);
void ForgetPicture();

// Pictures made beside the user-interface thread, several at once on a pool of bounded size (and
// in bounded memory, as every decoding), each handed to its callback on the user-interface thread
// as soon as it is ready. Drop, or destroying the batch, discards whatever has not been handed
// over yet, so that a page left or refilled never receives the old page's pictures.
class PictureBatch {
public:
    PictureBatch();
    ~PictureBatch();
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;
    // make runs on a worker (it must not touch controls); a failed or throwing make hands over
    // the empty picture.
    void Add(std::function<QImage()> make, std::function<void(const Picture&)> done);
    void Drop();
    bool Dropped() const;
    // Pictures not handed over yet.
    int Pending() const;
    // Runs the window's events, user input included, until every picture is handed over or the
    // batch is dropped (by a handler run meanwhile, or when the program quits).
    void Wait();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Writes the picture as a 24-bit Windows BMP; raises 75 when the file cannot be written.
void SavePicture(const Picture& picture, const QString& path);
void SavePicture(const QImage& image, const QString& path);

// Largest picture the loader accepts, so that a header claiming a huge size cannot exhaust memory.
constexpr qint64 kMaxPicturePixels = 120'000'000;

} // namespace vb
