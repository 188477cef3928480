#pragma once
// Records the addresses the application asks the platform to open, in place of the desktop's handlers.

#include <QObject>
#include <QStringList>
#include <QUrl>

namespace testing_support {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder();
    ~UrlRecorder() override;

    QStringList opened;

public slots:
    void open(const QUrl& url);
};

} // namespace testing_support
