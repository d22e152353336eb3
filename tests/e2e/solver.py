"""Finds a sequence of clicks that solves a dealt board.

The board is a tuple of sixteen pieces by slot, 15 the blank. A move is the slot of the
tile to click: a neighbour of the blank. The search is a weighted A* over whole boards
with the Manhattan distance as its guide; it is complete, so it always finds a solution
for a solvable board, though not always the shortest one.
"""
import heapq

BLANK = 15
SOLVED = tuple(range(16))


def neighbours(slot):
    column, row = slot % 4, slot // 4
    if column > 0:
        yield slot - 1
    if column < 3:
        yield slot + 1
    if row > 0:
        yield slot - 4
    if row < 3:
        yield slot + 4


def distance(board):
    total = 0
    for slot, piece in enumerate(board):
        if piece != BLANK:
            total += abs(slot % 4 - piece % 4) + abs(slot // 4 - piece // 4)
    return total


def apply_move(board, clicked):
    blank = board.index(BLANK)
    pieces = list(board)
    pieces[blank], pieces[clicked] = pieces[clicked], pieces[blank]
    return tuple(pieces)


def solve(board, weight=2, limit=2_000_000):
    """Returns the list of slots to click, or None if none was found within limit boards."""
    board = tuple(board)
    start_cost = distance(board)
    frontier = [(weight * start_cost, 0, board)]
    came_from = {board: None}
    steps = {board: 0}
    while frontier and len(came_from) < limit:
        _, cost, current = heapq.heappop(frontier)
        if current == SOLVED:
            moves = []
            while came_from[current] is not None:
                previous, clicked = came_from[current]
                moves.append(clicked)
                current = previous
            return moves[::-1]
        if cost > steps[current]:
            continue
        blank = current.index(BLANK)
        for clicked in neighbours(blank):
            following = apply_move(current, clicked)
            if following not in steps or cost + 1 < steps[following]:
                steps[following] = cost + 1
                came_from[following] = (current, clicked)
                heapq.heappush(frontier,
                               (cost + 1 + weight * distance(following), cost + 1, following))
    return None
