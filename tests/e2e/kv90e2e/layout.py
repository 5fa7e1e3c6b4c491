"""The capture window's fixed layout, in client pixels of TFrm_Main, and its ten finger slots."""

from collections import namedtuple

CLIENT_SIZE = (748, 350)
CAPTION = "KV90指纹采集"
APPLICATION_TITLE = "KV90指纹采集"
AQUA = (0, 255, 255)
SKIN_FORM_COLOUR = (0xF3, 0xF5, 0xF8)  # the skin paints the bare form in its own colour

Slot = namedtuple("Slot", "number panel left top width height label finger_text")

_LEFTS = (203, 311, 419, 527, 638)
_FINGERS = ("拇指", "食指", "中指", "无名指", "小指")


def _slots():
    slots = []
    for number in range(10):
        right = number >= 5
        hand = "右手" if right else "左手"
        finger = hand + _FINGERS[number % 5]
        slots.append(Slot(number, "Panel%d" % (number + 1), _LEFTS[number % 5], 157 if right else 1, 110,
                          151 if right else 155, finger, "当前采集的是【%s】" % finger))
    return tuple(slots)


SLOTS = _slots()

LABEL_STRIP = 12   # each slot panel's label strip at its top
BEVEL_STRIP = 2    # the bevel line under it

PREVIEW_PANEL = (1, 1, 201, 349)      # Panel11
PREVIEW_VIEW = (2, 16, 197, 165)      # Pnl_View, inside Panel11
PREVIEW_LABEL = "图像预览"

# The labels have no windows: the form and the panels draw them, and a test reads them by
# drawing the expected text with the same font and comparing it with what the window shows.
Font = namedtuple("Font", "face height weight colour")
STATUS_FONT = Font("宋体", -14, 700, (255, 0, 0))
STRIP_FONT = Font("宋体", -12, 400, (0, 0, 0))
# Lb_Info sizes itself to its text from (208, 322); nothing else is drawn up to the buttons.
STATUS_AREA = (208, 322, 232, 16)
# Each framed panel's label, centred in the strip at its top (panel client coordinates).
STRIP_LABEL_AREA = (2, 2, -4, LABEL_STRIP)  # the width is the panel's own less 4
STATUS_TEXTS = tuple("当前采集的是【%s】" % (hand + finger) for hand in ("左手", "右手") for finger in _FINGERS) + (
    "", "加载指纹采集动态库失败", "打开KV90采集仪失败", "初始化设备参数失败")

Button = namedtuple("Button", "name text left top width height enabled")
BUTTONS = (
    Button("Btn_Collect", "采集指纹", 441, 317, 62, 25, False),
    Button("Btn_Clear", "清空指纹", 502, 317, 62, 25, False),
    Button("Btn_View", "查看指纹", 563, 317, 62, 25, False),
    Button("Btn_SysConfig", "系统设置", 624, 317, 62, 25, False),
    Button("Btn_CollectFinish", "采集完成", 685, 317, 62, 25, True),
)


def button(name):
    return next(b for b in BUTTONS if b.name == name)


def slot_image_centre(slot):
    """The centre of the slot's image area: below the label strip and the bevel."""
    image_top = slot.top + LABEL_STRIP + BEVEL_STRIP
    return slot.left + slot.width // 2, (image_top + slot.top + slot.height) // 2


def slot_image_samples(slot):
    """Points well inside the slot's image area whose colour is the panel's while the slot is empty."""
    image_top = slot.top + LABEL_STRIP + BEVEL_STRIP
    bottom = slot.top + slot.height
    xs = (slot.left + 10, slot.left + slot.width // 2, slot.left + slot.width - 10)
    ys = (image_top + 10, (image_top + bottom) // 2, bottom - 10)
    return [(x, y) for x in xs for y in ys]
