// The page side of the browser backend, run before the program starts (--pre-js): lays the
// canvas out as the desktop lays out its window, queues mouse and key events for web.cpp, paints
// frames, and goes back to the gallery when the program ends.
// Module.qorin.frames counts ended frames; firstFrame and firstFrameMs keep the end of frame 1.
Module.qorin = (function () {
  const params = new URLSearchParams(location.search);
  const lang = params.get('lang') === 'ru' ? 'ru' : 'en';
  const events = [];
  const held = new Set();  // virtual keys down, released when the page loses focus
  let waiter = null;
  let canvas = null, context = null, image = null;
  let logicalWidth = 0, logicalHeight = 0;

  // InputEvent types, in web.cpp's order.
  const MouseMove = 0, MouseDown = 1, MouseUp = 2, KeyDown = 3, KeyUp = 4, Text = 5;

  const namedKeys = {
    Escape: 0x1B, Space: 0x20, Enter: 0x0D, NumpadEnter: 0x0D, Backspace: 0x08, Delete: 0x2E,
    ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, Home: 0x24, End: 0x23, F4: 0x73,
    ShiftLeft: 0x10, ShiftRight: 0x10, ControlLeft: 0x11, ControlRight: 0x11, AltLeft: 0x12, AltRight: 0x12,
  };
  // Characters the keys type unshifted on a US layout; web.cpp turns them into virtual keys.
  const punctuation = {
    Minus: '-', Equal: '=', BracketLeft: '[', BracketRight: ']', Backslash: '\\', Semicolon: ';',
    Quote: "'", Comma: ',', Period: '.', Slash: '/', Backquote: '`',
  };
  // Control characters that come with their keys, as on the desktop.
  const keyCharacters = { 0x1B: 0x1B, 0x0D: 13, 0x08: 8 };

  function push(event) {
    events.push(Object.assign({ x: 0, y: 0, button: 0, shift: 0, ctrl: 0, alt: 0, vk: 0, ch: 0, key: 0 }, event));
    if (waiter) {
      const wake = waiter;
      waiter = null;
      wake();
    }
  }

  function modifiers(e) {
    return { shift: e.shiftKey ? 1 : 0, ctrl: e.ctrlKey ? 1 : 0, alt: e.altKey ? 1 : 0 };
  }

  // The desktop's rule in device pixels: whole-number blocks on large screens (one logical pixel
  // per s x s device pixels, s = min(W / 1920, H / 1080) at least 1), and under 640 x 480 a
  // 640 x 480 screen shrunk to fit, keeping 4:3.
  function layout() {
    const ratio = window.devicePixelRatio || 1;
    const pw = Math.max(1, Math.round(window.innerWidth * ratio));
    const ph = Math.max(1, Math.round(window.innerHeight * ratio));
    let shownWidth, shownHeight;
    if (pw < 640 || ph < 480) {
      if (!logicalWidth) {
        logicalWidth = 640;
        logicalHeight = 480;
      }
      if (pw * 480 <= ph * 640) {
        shownWidth = pw;
        shownHeight = Math.max(1, Math.floor(pw * 480 / 640));
      } else {
        shownHeight = ph;
        shownWidth = Math.max(1, Math.floor(ph * 640 / 480));
      }
    } else {
      const s = Math.max(1, Math.min(Math.floor(pw / 1920), Math.floor(ph / 1080)));
      if (!logicalWidth) {
        logicalWidth = Math.floor(pw / s);
        logicalHeight = Math.floor(ph / s);
      }
      shownWidth = logicalWidth * s;
      shownHeight = logicalHeight * s;
    }
    if (canvas) {
      canvas.style.width = shownWidth / ratio + 'px';
      canvas.style.height = shownHeight / ratio + 'px';
    }
  }

  function toLogical(e) {
    const box = canvas.getBoundingClientRect();
    const map = (v, start, size, logical) =>
      Math.min(logical - 1, Math.max(0, Math.floor((v - start) * logical / size)));
    return {
      x: map(e.clientX, box.left, box.width, logicalWidth),
      y: map(e.clientY, box.top, box.height, logicalHeight),
    };
  }

  function mouse(type) {
    return e => {
      if (type !== MouseMove && e.button > 2)
        return;
      // The browser numbers the middle button 1 and the right one 2.
      const button = [0, 2, 1][e.button] || 0;
      push(Object.assign({ type, button }, toLogical(e), modifiers(e)));
      if (type === MouseDown)
        e.preventDefault();
    };
  }

  function key(type) {
    return e => {
      let vk = namedKeys[e.code] || 0;
      let character = 0;
      if (!vk) {
        if (/^Key[A-Z]$/.test(e.code))
          character = e.code.charCodeAt(3) + 32;
        else if (/^Digit[0-9]$/.test(e.code))
          character = e.code.charCodeAt(5);
        else if (punctuation[e.code])
          character = punctuation[e.code].charCodeAt(0);
        else
          return;  // keys the programs never see keep their browser meaning (F5, F12, ...)
      }
      // The page keeps the browser's own CTRL shortcuts (reload, close); the program still sees the keys.
      if (!e.ctrlKey && !e.metaKey)
        e.preventDefault();
      const event = Object.assign({ type, vk, key: character }, modifiers(e));
      if (type === KeyDown && keyCharacters[vk])
        event.ch = keyCharacters[vk];
      const id = vk || 'c' + character;
      if (type === KeyDown)
        held.add(id);
      else
        held.delete(id);
      push(event);
      // The character typed follows its key, unless ALT or CTRL make it a command.
      const typed = [...e.key];
      if (type === KeyDown && typed.length === 1 && !e.altKey && !e.ctrlKey && !e.metaKey)
        push({ type: Text, ch: typed[0].codePointAt(0) });
    };
  }

  function releaseAll() {
    for (const id of held) {
      const character = typeof id === 'string' ? Number(id.slice(1)) : 0;
      push({ type: KeyUp, vk: character ? 0 : id, key: character });
    }
    held.clear();
  }

  return {
    lang,
    events,
    frames: 0,
    firstFrame: null,
    firstFrameMs: 0,

    open() {
      canvas = Module.canvas;
      context = canvas.getContext('2d', { alpha: false });
      layout();
      canvas.width = logicalWidth;
      canvas.height = logicalHeight;
      window.addEventListener('resize', layout);
      // The whole page is the program's window, black margins included (their points clamp to
      // the screen's edge), and a release anywhere counts, so no button stays down.
      window.addEventListener('mousemove', mouse(MouseMove));
      window.addEventListener('mousedown', mouse(MouseDown));
      window.addEventListener('mouseup', mouse(MouseUp));
      canvas.addEventListener('contextmenu', e => e.preventDefault());
      window.addEventListener('keydown', key(KeyDown));
      window.addEventListener('keyup', key(KeyUp));
      window.addEventListener('blur', releaseAll);
      // Pictures are looked up by name in the working directory: the language's folder.
      FS.chdir('/' + lang);
      return [logicalWidth, logicalHeight];
    },

    show(title) {
      document.title = title;
    },

    paint(bytes, width, height) {
      if (!image || image.width !== width || image.height !== height)
        image = context.createImageData(width, height);
      image.data.set(bytes);
      context.putImageData(image, 0, 0);
    },

    frameEnded() {
      if (++this.frames === 1) {
        this.firstFrameMs = performance.now();
        this.firstFrame = context.getImageData(0, 0, canvas.width, canvas.height);
        document.body.classList.add('running');
      }
    },

    waitForEvent(timeoutMs) {
      if (events.length)
        return Promise.resolve();
      return new Promise(resolve => {
        let timer = null;
        waiter = () => {
          if (timer !== null)
            clearTimeout(timer);
          resolve();
        };
        if (timeoutMs >= 0)
          timer = setTimeout(() => {
            waiter = null;
            resolve();
          }, timeoutMs);
      });
    },

    finish() {
      location.replace('index.html' + (lang === 'ru' ? '?lang=ru' : ''));
    },
  };
})();
