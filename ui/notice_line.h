#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace talveron {

/// The notice line along the bottom of the main window: two labels that scroll from right to
/// left, moved by a 100 ms timer while no run is active.
class NoticeLine final : public QWidget {
    Q_OBJECT

public:
    explicit NoticeLine(QWidget* parent = nullptr);

    /// Shows the notice and lets it scroll.
    void start();
    /// Stops and hides the notice (during a run).
    void stop();
    /// Stops the notice where it is (while a file dialog is open).
    void pause();
    /// One timer tick: the notice moves left, and comes back in at the right edge once it has
    /// left the line completely.
    void step();

private:
    QLabel* banner_;
    QLabel* second_;
    QTimer timer_;
};

}  // namespace talveron
