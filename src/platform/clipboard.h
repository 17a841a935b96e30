#pragma once

class QImage;
class QString;

namespace tesvid {

// The system clipboard as the copy commands use it.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetImage(const QImage& image) = 0;
    virtual void SetText(const QString& text) = 0;
};

class QtClipboard : public Clipboard {
  public:
    void Clear() override;
    void SetImage(const QImage& image) override;
    void SetText(const QString& text) override;
};

}  // namespace tesvid
