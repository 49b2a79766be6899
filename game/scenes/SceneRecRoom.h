#pragma once

#include "engine/core/RefPtr.h"
#include "game/scenes/ScenePlace.h"

#include <vector>

namespace orv {

class DialogLayoutPreview;
class Level;
class OrvantaPlayer;

/// The recreation room ("SCENE_RECROOM", game mode 2, the elevator's stop
/// 22): the player picks a game type (each opened by a finished hallway
/// floor) and the layout chooser ("DIALOG_LAYOUTPREVIEW") offers every
/// recreation-room layout of it; a layout starts the game. A player with a
/// won layout in every game type is awarded trophy 9 on arrival.
/// Registered as "SceneRecRoom". Main thread only.
class SceneRecRoom : public ScenePlace {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    static constexpr std::size_t kAllTypesTrophy = 9;

    explicit SceneRecRoom(PropertyNode* definition);
    SceneRecRoom(const SceneRecRoom&) = delete;
    SceneRecRoom& operator=(const SceneRecRoom&) = delete;
    ~SceneRecRoom() override;
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    void setBackground() override;
    using Scene::setBackground;
    /// Arrival: the common steps, the look, the trophy of all game types
    /// (then the unlock shine), then the host tip or the saved-game question
    /// (after the trophy room when it opened).
    void open() override;
    /// Leaving: the base's steps, the chooser closed at once, the glow off.
    void close() override;

    [[nodiscard]] DialogLayoutPreview* getLayoutChooser() const { return layoutChooser_; }
    [[nodiscard]] const std::vector<RefPtr<Level>>& getLevels() const { return levels_; }

    static int onGameTypeSwitch(void* scene, void* item);

protected:
    void fillPanel() override;

private:
    static int onTrophyRoomClosed(void* scene, void* dialog);

    DialogLayoutPreview* layoutChooser_ = nullptr;
    std::vector<RefPtr<Level>> levels_;
};

/// True when `player` has won at least one recreation-room layout of every
/// game type 0-4 (layouts counted from the level sets). Reads only: the
/// player's record lists are left as they are.
[[nodiscard]] bool allTypesHaveWonLayout(const OrvantaPlayer& player);

} // namespace orv
