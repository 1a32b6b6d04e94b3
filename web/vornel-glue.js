// The page's side of the emulated handheld, run before the game starts: the canvas the
// display is drawn into, scaled by the largest whole factor that fits, and the page's keys,
// pointer and visibility handed to the game as the handheld's.
(function () {
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');

  // The largest whole factor of the screen's own pixels that fits the canvas's box, so that
  // every pixel of the handheld is a sharp square, also on a phone's dense screen.
  function fit() {
    const box = canvas.parentElement.getBoundingClientRect();
    const density = window.devicePixelRatio || 1;
    const factor = Math.max(1, Math.floor(Math.min(box.width * density / canvas.width, box.height * density / canvas.height)));
    canvas.style.width = canvas.width * factor / density + 'px';
    canvas.style.height = canvas.height * factor / density + 'px';
  }
  window.addEventListener('resize', fit);

  Module.vornelResize = function (width, height) {
    canvas.width = width;
    canvas.height = height;
    fit();
  };
  Module.vornelPresent = function (pointer, width, height) {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
    context.putImageData(new ImageData(new Uint8ClampedArray(pixels), width, height), 0, 0);
    Module.vornelFrames = (Module.vornelFrames || 0) + 1;
  };

  // The handheld's sound: 8000 Hz, 16-bit mono buffers played back to back through WebAudio.
  // Browsers let a page's audio start only from a key or a tap, so the context is made (or
  // resumed) at the first one; until it runs the game's buffers pass unheard.
  Module.vornelAudio = {
    context: null,
    next: 0,       // when the last buffer given ends, in the context's seconds
    ended: 0,      // buffers ended or stopped so far
    played: 0,     // buffers given to WebAudio so far
    sources: [],
    start: function () {
      if (!this.context) {
        const Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return;
        this.context = new Context({ sampleRate: 8000 });
      }
      if (this.context.state !== 'running') this.context.resume();
    },
    runs: function () { return this.context !== null && this.context.state === 'running'; },
    play: function (pointer, bytes) {
      const count = bytes >> 1;
      const samples = new Int16Array(HEAPU8.buffer, pointer, count);
      const buffer = this.context.createBuffer(1, Math.max(count, 1), 8000);
      const channel = buffer.getChannelData(0);
      for (let i = 0; i < count; ++i) channel[i] = samples[i] / 32768;
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      const at = Math.max(this.context.currentTime, this.next);
      source.onended = () => {
        this.sources.shift();
        ++this.ended;
      };
      source.start(at);
      this.next = at + buffer.duration;
      this.sources.push(source);
      ++this.played;
    },
    // Stops every buffer still to play; answers the count of buffers ended, these included.
    stop: function () {
      for (const source of this.sources) {
        source.onended = null;
        source.stop();
      }
      this.ended += this.sources.length;
      this.sources = [];
      this.next = 0;
      return this.ended;
    },
  };
  window.addEventListener('keydown', () => Module.vornelAudio.start(), true);
  window.addEventListener('pointerdown', () => Module.vornelAudio.start(), true);

  // The desktop's keys as the handheld's virtual keys, as the desktop window maps them: by
  // what the key means (keypad digits are digits, its Enter is Enter); on a handheld whose
  // letters stand in for a keypad, the letter keys and '/' by their place on a US keyboard
  // (event.code), so that the keypad keeps its shape on AZERTY or QWERTZ, and a letter printed
  // on another key is none of the handheld's.
  const named = {
    Backspace: 8, Enter: 13, Escape: 27, ' ': 32, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39,
    ArrowDown: 40, F1: 112, F2: 113, F8: 119, F9: 120, '/': 191,
  };
  function byMeaning(event) {
    let match = /^Numpad([0-9])$/.exec(event.code);
    if (match) return 48 + Number(match[1]);
    if (event.code === 'NumpadEnter') return 13;
    if (/^[a-zA-Z]$/.test(event.key)) return event.key.toUpperCase().charCodeAt(0);
    if (/^[0-9]$/.test(event.key)) return event.key.charCodeAt(0);
    return named[event.key] || 0;
  }
  function virtualKeyOf(event) {
    if (!Module.vornelLettersByPlace) return byMeaning(event);
    const match = /^Key([A-Z])$/.exec(event.code);
    if (match) return match[1].charCodeAt(0);
    if (event.code === 'Slash') return 191;
    return /^[a-zA-Z/]$/.test(event.key) ? 0 : byMeaning(event);
  }
  // The emulator's own keys, taken before the game sees them: Ctrl+R turns the display, F11
  // and Alt+Enter switch full screen. Ctrl with Alt (or AltGr) types characters instead.
  function emulatorKey(event) {
    if (event.key === 'F11' || (event.altKey && event.key === 'Enter')) {
      const stage = canvas.parentElement;
      if (document.fullscreenElement) document.exitFullscreen(); else stage.requestFullscreen();
      return true;
    }
    if (event.ctrlKey && !event.altKey && !event.getModifierState('AltGraph') && event.code === 'KeyR') {
      if (!event.repeat) call('vornel_page_rotate');
      return true;
    }
    return false;
  }
  function call(name, ...values) {
    if (Module.calledRun) Module['_' + name](...values);
  }
  const held = new Map();  // each key's virtual key while it is down: its release says the same
  window.addEventListener('keydown', function (event) {
    if (emulatorKey(event)) {
      event.preventDefault();
      return;
    }
    const virtualKey = held.get(event.code) || virtualKeyOf(event);
    if (virtualKey !== 0) {
      held.set(event.code, virtualKey);
      call('vornel_page_key', 1, virtualKey);
      event.preventDefault();
    }
    const typed = event.key.length === 1 ? event.key.charCodeAt(0) : 0;
    if (typed >= 32 && typed < 256 && !(event.ctrlKey && !event.altKey) && !event.metaKey) {
      call('vornel_page_character', typed);  // the handheld's characters are 8-bit
    }
  });
  window.addEventListener('keyup', function (event) {
    const virtualKey = held.get(event.code);
    if (virtualKey !== undefined) {
      held.delete(event.code);
      call('vornel_page_key', 0, virtualKey);
      event.preventDefault();
    }
  });
  // A page that loses the focus lets go of every key it held.
  window.addEventListener('blur', function () {
    for (const virtualKey of held.values()) call('vornel_page_key', 0, virtualKey);
    held.clear();
  });

  // The pen: the first finger or the left button, in the display's own pixels.
  let penPointer = null;
  function penAt(event, kind) {
    const box = canvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
    const y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
    call('vornel_page_pen', kind, Math.max(0, Math.min(canvas.width - 1, x)), Math.max(0, Math.min(canvas.height - 1, y)));
  }
  canvas.addEventListener('pointerdown', function (event) {
    if (penPointer !== null || event.button !== 0) return;
    penPointer = event.pointerId;
    canvas.setPointerCapture(event.pointerId);
    penAt(event, 0);
    event.preventDefault();
  });
  canvas.addEventListener('pointermove', function (event) {
    if (event.pointerId === penPointer) penAt(event, 1);
  });
  function penUp(event) {
    if (event.pointerId !== penPointer) return;
    penAt(event, 2);
    penPointer = null;
  }
  canvas.addEventListener('pointerup', penUp);
  canvas.addEventListener('pointercancel', penUp);

  // A page in the background, or without the focus, pauses the game, as a window in the
  // background did.
  document.addEventListener('visibilitychange', function () {
    call('vornel_page_visible', document.hidden ? 0 : 1);
  });
  window.addEventListener('blur', function () { call('vornel_page_visible', 0); });
  window.addEventListener('focus', function () { call('vornel_page_visible', document.hidden ? 0 : 1); });
})();
