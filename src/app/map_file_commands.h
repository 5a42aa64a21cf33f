#pragma once

#include <QString>

class EditorSession;
class QImage;
class Prompts;
struct EditorState;

// The main window's File > "Load Map..." and "Save Map..." and Utilies >
// "Save Map Picture..." and "Save Tileset Picture..." commands.
class MapFileCommands {
public:
    // A map file loaded is an edit of the session's working copies.
    explicit MapFileCommands(EditorSession& session);

    void SaveMap1Click();
    void LoadMap1Click();
    // `mapPicture` is the map as composeMapPicture() draws it, `paletteImage` the block
    // palette's 64 x 8192 image; each is written as it is.
    void SaveMapPicture1Click(const QImage& mapPicture);
    void SaveTilesetPicture1Click(const QImage& paletteImage);

    static const QString MapFilter;
    static const QString PictureFilter;

    // OpenDialog2's file name: the last file chosen in it.
    QString OpenDialog2FileName;

private:
    bool mapChosen();
    void savePicture(const QImage& image);

    EditorSession& m_session;
    EditorState& m_state;
    Prompts& m_prompts;
};
