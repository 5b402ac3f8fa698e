// PNG through Qt's image code, for the Qt and the browser tests.
#include "png_qt.h"

namespace velbrin::test {

Image Pixels(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Image image {rgb.width(), rgb.height(), {}};
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            image.pixels.push_back(rgb.pixel(x, y) & 0xFFFFFF);
    return image;
}

bool ReadPng(const std::string &path, Image &image)
{
    const QImage read(QString::fromStdString(path));
    image = Pixels(read);
    return !read.isNull();
}

void WritePng(const std::string &path, const Image &image)
{
    QImage written(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            written.setPixel(x, y, 0xFF000000 | image.pixels[std::size_t(y * image.width + x)]);
    written.save(QString::fromStdString(path), "PNG");
}

} // namespace velbrin::test
