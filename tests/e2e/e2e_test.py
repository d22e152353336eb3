"""The real game under a virtual X server, played by a robot as a person would.

Run by CTest with QUILBRACK_GAME (the built program), QUILBRACK_ASSETS (its assets
folder) and QUILBRACK_SCREENSHOT (where to save a screenshot of a game in progress).
"""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import robot
import solver
from robot import (BLANK, CELL_H, CELL_W, HEIGHT, TILE_W, WIDTH, Dialog, Game, Picture,
                   VirtualScreen, WaitFailed, home, read_board, row_bytes, wait_for)

GAME = os.environ["QUILBRACK_GAME"]
ASSETS = os.environ["QUILBRACK_ASSETS"]
SAMPLE = os.path.join(ASSETS, "sample.png")
STRIP = (192, 64, 256, 16)  # where the message strips are drawn

screen = None
scratch = None
picture = None


def setUpModule():
    global screen, scratch, picture
    scratch = tempfile.mkdtemp(prefix="quilbrack-e2e-")
    screen = VirtualScreen(scratch)
    picture = Picture(SAMPLE)


def tearDownModule():
    screen.close()
    shutil.rmtree(scratch, ignore_errors=True)


def in_strip(x, y):
    left, top, width, height = STRIP
    return left <= x < left + width and top <= y < top + height


def is_whole_picture(shot):
    return shot == picture.pixels


def is_solved_display(shot):
    """The whole picture with something drawn over it in the strip's place, and only there."""
    left, top, width, height = STRIP
    for y in range(HEIGHT):
        if top <= y < top + height:
            if (row_bytes(shot, 0, y, left) != row_bytes(picture.pixels, 0, y, left) or
                    row_bytes(shot, left + width, y, WIDTH - left - width) !=
                    row_bytes(picture.pixels, left + width, y, WIDTH - left - width)):
                return False
        elif row_bytes(shot, 0, y, WIDTH) != row_bytes(picture.pixels, 0, y, WIDTH):
            return False
    strip_rows = [row_bytes(shot, left, y, width) for y in range(top, top + height)]
    picture_rows = [row_bytes(picture.pixels, left, y, width) for y in range(top, top + height)]
    return strip_rows != picture_rows


def save_screenshot(shot, path):
    opaque = bytearray(shot)
    opaque[3::4] = b"\xff" * (len(opaque) // 4)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", "8", "bgra:-", path],
                   input=bytes(opaque), check=True, timeout=30)


def sliding_between(shot, piece, start_slot, end_slot):
    """True when the piece is drawn part of the way from one cell to its neighbour."""
    (x0, y0), (x1, y1) = home(start_slot), home(end_slot)
    row = picture.piece_row(piece, 59)
    if y0 == y1:
        step = 4 if x1 > x0 else -4
        return any(row_bytes(shot, x, y0 + 59, TILE_W) == row for x in range(x0 + step, x1, step))
    step = 4 if y1 > y0 else -4
    return any(row_bytes(shot, x0, y + 59, TILE_W) == row for y in range(y0 + step, y1, step))


class RealWindow(unittest.TestCase):
    def start(self, *args, **kwargs):
        game = Game(screen, GAME, ASSETS, args, **kwargs)
        self.addCleanup(game.stop)
        return game

    def start_playing(self):
        """A game of the sample picture, reached by cancelling the dialog, at rest."""
        game = self.start(SAMPLE)
        game.wait_window()
        Dialog(screen).cancel()
        return game, game.wait_board_at_rest(picture)

    def assert_dealt(self, board):
        self.assertEqual([board[0], board[3], board[12], board[15]], [0, 3, 12, BLANK])
        self.assertEqual(sorted(board), list(range(16)))

    def test_missing_banner_sheet_ends_with_103_and_its_message(self):
        game = self.start(with_banner=False)
        self.assertEqual(game.wait_exit(), 103)
        self.assertEqual(game.printed(), b"Nie udalo sie wczytac err.png")
        self.assertIsNone(screen.find_window(robot.DIALOG_TITLE))

    def test_cancel_without_argument_ends_with_201_and_prints_nothing(self):
        game = self.start()
        game.wait_window()
        Dialog(screen).cancel()
        self.assertEqual(game.wait_exit(), 201)
        self.assertEqual(game.printed(), b"")

    def test_typed_path_is_played(self):
        folder = os.path.join(scratch, "my pictures")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "a sample picture.png")
        shutil.copy(SAMPLE, path)
        game = self.start()
        game.wait_window()
        Dialog(screen).choose(path)
        self.assert_dealt(game.wait_board_at_rest(picture))

    def test_moves_slide_and_the_peek_shows_the_whole_picture(self):
        game, board = self.start_playing()
        self.assert_dealt(board)
        # A click on the blank's left neighbour slides that tile right.
        game.click_slot(14)
        piece = board[14]
        game.wait_screen("tile %d sliding from slot 14 to 15" % piece,
                         lambda shot: sliding_between(shot, piece, 14, 15), timeout=5)
        moved = game.wait_board_at_rest(picture)
        expected = list(board)
        expected[14], expected[15] = BLANK, piece
        self.assertEqual(moved, expected)
        # A tile that is not next to the blank stays where it is.
        game.click_slot(0)
        time.sleep(0.4)
        self.assertEqual(game.wait_board_at_rest(picture), expected)
        save_screenshot(game.capture(), os.environ["QUILBRACK_SCREENSHOT"])
        # Holding the right button shows the whole picture, pixel for pixel.
        game.press(300, 200, 3)
        game.wait_screen("the whole picture while the right button is held", is_whole_picture)
        game.release(3)
        self.assertEqual(game.wait_board_at_rest(picture), expected)

    def test_solving_shows_the_solved_strip_and_a_click_asks_again(self):
        game, board = self.start_playing()
        for attempt in range(3):
            moves = solver.solve(board)
            self.assertIsNotNone(moves, "no solution for %s" % board)
            for slot in moves:
                game.click_slot(slot)
                time.sleep(0.12)  # a click takes three frames: motion, press, release
            try:
                game.wait_screen("the solved display", is_solved_display, timeout=8)
                break
            except WaitFailed:
                board = game.wait_board_at_rest(picture)  # a click was lost: plan again
        else:
            self.fail("the puzzle was not solved in three attempts")
        time.sleep(1.2)  # the display holds for 48 frames before a click counts
        game.click(320, 240)
        dialog = Dialog(screen)
        dialog.cancel()
        self.assert_dealt(game.wait_board_at_rest(picture))

    def test_f2_asks_again_and_closing_the_window_ends_with_0(self):
        game, _ = self.start_playing()
        game.key("F2")
        Dialog(screen).cancel()  # the argument is loaded again and dealt afresh
        self.assert_dealt(game.wait_board_at_rest(picture))
        screen.close_window(game.window)
        self.assertEqual(game.wait_exit(), 0)
        self.assertEqual(game.printed(), b"")


if __name__ == "__main__":
    unittest.main(verbosity=2)
