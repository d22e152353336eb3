#include "picture/choose_picture.h"

#include "app/exit_status.h"
#include "picture/banner.h"
#include "picture/file_chooser.h"
#include "picture/surface.h"

namespace {
// The no-picture screen is drawn while the counter goes 0..100, then the dialog opens.
constexpr int32_t kNoPictureLastTick = 99;
}  // namespace

int handleChoosePicture(GameContext& game, int argc, char** argv) {
  if (game.picture != nullptr) {
    SDL_FreeSurface(game.picture);
    game.picture = nullptr;
  }
  const std::optional<std::string> chosen = choosePicturePath();
  if (chosen) {
    game.picture = loadPicture(chosen->c_str());
  } else {
    if (argc <= 1) return kExitNoPicture;
    game.picture = loadPicture(argv[1]);
  }
  game.state = StateNoPicture;
  return 0;
}

void handleNoPicture(GameContext& game) {
  if (game.picture != nullptr) {
    game.state = StateFitPicture;
    return;
  }
  fillScreen(mapColor(0, 0, 0, 128));
  drawStrip(game.bannerSheet, kErrorStripTop);
  // Presented once; later frames redraw the back buffer but only an expose shows it.
  if (game.noPictureTicks == 0) game.needFlip = true;
  if (game.noPictureTicks > kNoPictureLastTick) {
    game.noPictureTicks = 0;
    game.state = StateChoosePicture;
  } else {
    ++game.noPictureTicks;
  }
}

void handleFitPicture(GameContext& game) {
  if (game.picture->w != kScreenWidth || game.picture->h != kScreenHeight) {
    game.picture = scaleSurface(game.picture, kScreenWidth, kScreenHeight);
    // A picture that could not be scaled counts as one that did not load.
    if (game.picture == nullptr) {
      game.state = StateNoPicture;
      return;
    }
  }
  game.state = StateDeal;
}
