#pragma once

#include <QByteArrayView>
#include <QString>

#include <string_view>

namespace talveron {

/// Bytes of a file as text on screen: UTF-8 when they are valid UTF-8, else the single-byte
/// code page (Latin-1) that load files are written in.
inline QString DisplayText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return view.isValidUtf8() ? QString::fromUtf8(view) : QString::fromLatin1(view);
}

}  // namespace talveron
