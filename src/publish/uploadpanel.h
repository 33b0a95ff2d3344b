#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class CursorGrid;
struct RegisterState;

// The main window's upload panel: it puts the upload filter on the shared property cursor, lists
// the properties waiting, and starts an upload run. What lies outside publishing (the server
// settings dialog, the browse window) it asks the main window for.
class UploadPanel : public QWidget
{
    Q_OBJECT
public:
    explicit UploadPanel(RegisterState &cursors, QWidget *parent = nullptr);

    // Entering the panel from the side menu.
    void Label80Click();
    void SpeedButton3Click();
    void SpeedButton2Click();
    void Button6Click();

signals:
    void serverSettingsRequested();
    void browseRequested();

private:
    void setUploadFilter(const QString &filterText);

    RegisterState &m_cursors;
    QCheckBox *m_checkBox1;
    QPushButton *m_button6;
    CursorGrid *m_dbGrid2;
};
