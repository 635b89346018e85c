#pragma once

#include <QApplication>

// The application object. Its last-resort catch keeps an exception from crossing Qt's
// event loop: it is reported and the event is dropped.
class UpdaterApplication : public QApplication {
public:
    UpdaterApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
