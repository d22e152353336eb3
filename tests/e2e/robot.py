"""A player robot for the real game under a virtual X server.

Starts Xvfb, starts the built game, waits for its window and its dialog, reads the board
from exact screenshots and drives it with xdotool. Every wait polls a condition with a
deadline and fails with a message that says what it was waiting for.
"""
import os
import shutil
import subprocess
import tempfile
import time

from Xlib import X, display, protocol

GAME_TITLE = "Quilbrack"
DIALOG_TITLE = "Quilbrack: wybierz obrazek"
WIDTH, HEIGHT = 640, 480
CELL_W, CELL_H = 160, 120
TILE_W, TILE_H = 158, 118
BLANK = 15


class WaitFailed(AssertionError):
    pass


def wait_for(what, condition, timeout, interval=0.05):
    """Polls condition until it returns something truthy; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WaitFailed(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def home(n):
    return (n % 4) * CELL_W + 1, (n // 4) * CELL_H + 1


class VirtualScreen:
    """An Xvfb server of its own, on a display number it picks itself."""

    def __init__(self, scratch):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()  # written once the server accepts clients
        if not number:
            raise WaitFailed("Xvfb did not start")
        home_dir = os.path.join(scratch, "home")
        os.makedirs(home_dir, exist_ok=True)
        self.env = dict(os.environ)
        self.env.pop("SDL_VIDEODRIVER", None)
        self.env.update({
            "DISPLAY": f":{number}",
            "DBUS_SESSION_BUS_ADDRESS": "disabled:",
            "NO_AT_BRIDGE": "1",
            "GSETTINGS_BACKEND": "memory",
            "HOME": home_dir,
        })
        self.x = display.Display(self.env["DISPLAY"])

    def close(self):
        self.x.close()
        self.process.terminate()
        self.process.wait(timeout=10)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                              text=True, timeout=20)

    def find_window(self, title):
        found = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$")
        ids = found.stdout.split()
        return int(ids[0]) if ids else None

    def wait_window(self, title, timeout=20):
        return wait_for(f"a window titled {title!r}", lambda: self.find_window(title), timeout)

    def capture(self, window):
        """The window's 640 x 480 pixels as bytes, four per pixel (B, G, R, 0)."""
        drawable = self.x.create_resource_object("window", window)
        image = drawable.get_image(0, 0, WIDTH, HEIGHT, X.ZPixmap, 0xFFFFFFFF)
        pixels = bytearray(image.data)
        pixels[3::4] = bytes(len(pixels) // 4)
        return bytes(pixels)

    def close_window(self, window):
        """Asks the window to close, as a window manager does."""
        target = self.x.create_resource_object("window", window)
        protocols = self.x.intern_atom("WM_PROTOCOLS")
        delete = self.x.intern_atom("WM_DELETE_WINDOW")
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])),
            event_mask=X.NoEventMask)
        self.x.sync()


class Picture:
    """A 640 x 480 picture in the capture's byte order, read with ImageMagick."""

    def __init__(self, path):
        raw = subprocess.run(["convert", path, "-depth", "8", "bgra:-"], capture_output=True,
                             check=True, timeout=30).stdout
        pixels = bytearray(raw)
        pixels[3::4] = bytes(len(pixels) // 4)
        self.pixels = bytes(pixels)
        # Pieces told apart by one row through the middle of each.
        self.by_row = {}
        for piece in range(15):
            x, y = home(piece)
            self.by_row[row_bytes(self.pixels, x, y + 59, TILE_W)] = piece

    def piece_row(self, piece, row):
        x, y = home(piece)
        return row_bytes(self.pixels, x, y + row, TILE_W)


def row_bytes(pixels, x, y, width):
    start = (y * WIDTH + x) * 4
    return pixels[start:start + width * 4]


BLACK_ROW = bytes(WIDTH * 4)


def read_board(shot, picture):
    """The pieces by slot shown at rest, with black one-pixel frames and a black blank cell,
    or None when the screen is not such a board."""
    board = []
    for slot in range(16):
        x, y = home(slot)
        piece = picture.by_row.get(row_bytes(shot, x, y + 59, TILE_W))
        if piece is None:
            if row_bytes(shot, x, y + 59, TILE_W) != BLACK_ROW[:TILE_W * 4]:
                return None
            piece = BLANK
        for row in range(TILE_H):
            expected = BLACK_ROW[:TILE_W * 4] if piece == BLANK else picture.piece_row(piece, row)
            if row_bytes(shot, x, y + row, TILE_W) != expected:
                return None
        board.append(piece)
    if sorted(board) != list(range(16)) or not frames_are_black(shot):
        return None
    return board


def frames_are_black(shot):
    for y in range(HEIGHT):
        if y % CELL_H in (0, CELL_H - 1):
            if row_bytes(shot, 0, y, WIDTH) != BLACK_ROW:
                return False
        else:
            for x in range(0, WIDTH, CELL_W):
                if row_bytes(shot, x, y, 1) != bytes(4) or row_bytes(shot, x + CELL_W - 1, y, 1) != bytes(4):
                    return False
    return True


class Game:
    """The built game started in a folder of its own with the two assets beside it."""

    def __init__(self, screen, binary, assets, args=(), with_banner=True):
        self.screen = screen
        self.folder = tempfile.mkdtemp(prefix="quilbrack-e2e-")
        for name in ("icon.png", "err.png") if with_banner else ("icon.png",):
            shutil.copy(os.path.join(assets, name), self.folder)
        self.output_path = os.path.join(self.folder, "output.txt")
        self.output = open(self.output_path, "wb")
        self.process = subprocess.Popen([binary, *args], cwd=self.folder, env=screen.env,
                                        stdin=subprocess.DEVNULL, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        self.window = None

    def wait_window(self):
        self.window = self.screen.wait_window(GAME_TITLE)
        return self.window

    def printed(self):
        self.output.flush()
        with open(self.output_path, "rb") as f:
            return f.read()

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise WaitFailed(f"the game did not end within {timeout} s")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.output.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    # Input.
    def click(self, x, y, button=1):
        self.screen.xdotool("mousemove", "--window", self.window, x, y, "click", button)

    def press(self, x, y, button):
        self.screen.xdotool("mousemove", "--window", self.window, x, y, "mousedown", button)

    def release(self, button):
        self.screen.xdotool("mouseup", button)

    def key(self, name):
        self.screen.xdotool("windowfocus", "--sync", self.window, "key", name)

    def click_slot(self, slot):
        self.click((slot % 4) * CELL_W + CELL_W // 2, (slot // 4) * CELL_H + CELL_H // 2)

    # Output.
    def capture(self):
        return self.screen.capture(self.window)

    def wait_screen(self, what, condition, timeout=10):
        """Waits for a capture that condition accepts; returns what condition returned."""
        return wait_for(what, lambda: condition(self.capture()), timeout)

    def wait_board_at_rest(self, picture, timeout=15):
        """Two equal captures 150 ms apart that show a board at rest."""
        def settled():
            first = self.capture()
            board = read_board(first, picture)
            if board is None:
                return None
            time.sleep(0.15)
            return board if self.capture() == first else None
        return wait_for("the board at rest", settled, timeout)


class Dialog:
    """The real zenity file dialog the game opens."""

    def __init__(self, screen, timeout=30):
        self.screen = screen
        self.window = screen.wait_window(DIALOG_TITLE, timeout)

    def choose(self, path):
        # Without a window manager GTK does not take the focus: give it, then type the path.
        self.screen.xdotool("windowfocus", "--sync", self.window, "key", "ctrl+l")
        self.screen.xdotool("type", "--delay", "20", path)
        time.sleep(0.5)  # a Return right after typing is lost by the dialog
        self.screen.xdotool("key", "Return")
        try:
            self.wait_closed(5)
        except WaitFailed:
            self.screen.xdotool("windowfocus", "--sync", self.window, "key", "Return")
            self.wait_closed(10)

    def cancel(self):
        self.screen.xdotool("windowfocus", "--sync", self.window, "key", "Escape")
        self.wait_closed(10)

    def wait_closed(self, timeout):
        wait_for("the dialog to close", lambda: self.screen.find_window(DIALOG_TITLE) is None,
                 timeout)
