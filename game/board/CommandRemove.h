#pragma once

#include "game/board/Command.h"

namespace orv {

/// A completed match: its tiles (in selection order) leave the board and
/// its score (points x factor) is added; undone, the tiles come back and the
/// score goes back. Registered as "CommandRemove".
class CommandRemove : public Command {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// score = points x factor; the list is copied.
    CommandRemove(int points, int factor, const TileList& tiles);
    /// From the saved form: "score" and the vector "tiles"; points and
    /// factor 0.
    explicit CommandRemove(PropertyNode* saved);
    /// The object factory's create function for "CommandRemove".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    void execute(Game& game) override;
    void undo(Game& game) override;
    void save(PropertyNode& node) const override;
    void tiles(TileList& out) const override;

    [[nodiscard]] int getScore() const { return score_; }
    [[nodiscard]] int getPoints() const { return points_; }
    [[nodiscard]] int getFactor() const { return factor_; }

private:
    int score_ = 0;
    int points_ = 0;
    int factor_ = 0;
    TileList tiles_;
};

} // namespace orv
