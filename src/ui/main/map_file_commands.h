#pragma once

#include <QString>
#include <memory>
#include <optional>

class EditorSession;
class MapPictureJob;
class QImage;
class QWidget;
class WorkProgressDialog;
class Prompts;
struct EditorState;

// The main window's File > "Load Map..." and "Save Map..." and Utilies >
// "Save Map Picture..." and "Save Tileset Picture..." commands.
class MapFileCommands {
public:
    // A map file loaded is an edit of the session's working copies. The
    // progress dialog of Save Map Picture is modal to `window`.
    explicit MapFileCommands(EditorSession& session, QWidget* window = nullptr);
    ~MapFileCommands();

    void SaveMap1Click();
    void LoadMap1Click();
    // The whole map as the map view shows it at 100 %, grid frames with
    // `grid` on. It is drawn and written away from the window's thread from
    // a copy of the map as it is now, with a busy cursor and a status line
    // meanwhile, and a progress dialog with Cancel when it takes longer than
    // a moment; a failure is said when it is done. Cancelled, no file is
    // written (an old one stays as it was) and the status line says so.
    void SaveMapPicture1Click(bool grid);
    // Waits for a picture under way (a second Save Map Picture, Load Rom and
    // closing the window come here first).
    void finishRunning();
    bool isRunning() const;
    // The picture under way and its progress dialog.
    MapPictureJob& pictureJob() const { return *m_pictureJob; }
    WorkProgressDialog& pictureProgress() const { return *m_progress; }
    // The block palette's 64 x 8192 image, written as it is.
    void SaveTilesetPicture1Click(const QImage& paletteImage);

    static const QString MapFilter;
    static const QString PictureFilter;

    // OpenDialog2's file name: the last file chosen in it.
    QString OpenDialog2FileName;

private:
    bool mapChosen();
    // The picture save dialog, new each time: no file name carried over.
    std::optional<QString> askPicturePath();

    EditorSession& m_session;
    EditorState& m_state;
    Prompts& m_prompts;
    std::unique_ptr<MapPictureJob> m_pictureJob;
    std::unique_ptr<WorkProgressDialog> m_progress;

};
