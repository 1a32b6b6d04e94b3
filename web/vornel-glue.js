// The page's side of the emulated handheld, run before the game starts: the canvas the
// display is drawn into, scaled by the largest whole factor that fits, and the page's keys,
// pointer and visibility handed to the game as the handheld's.
(function () {
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');

  // The largest whole factor that fits the canvas's box, so that every pixel is a sharp square.
  function fit() {
    const box = canvas.parentElement.getBoundingClientRect();
    const factor = Math.max(1, Math.floor(Math.min(box.width / canvas.width, box.height / canvas.height)));
    canvas.style.width = canvas.width * factor + 'px';
    canvas.style.height = canvas.height * factor + 'px';
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

  // The desktop's keys as the handheld's virtual keys: by their place on the keyboard.
  const keys = {
    ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Enter: 13, NumpadEnter: 13,
    Escape: 27, Backspace: 8, Space: 32, F1: 112, F2: 113, F8: 119, F9: 120, Slash: 191,
  };
  function virtualKeyOf(code) {
    if (code in keys) return keys[code];
    let match = /^(?:Digit|Numpad)([0-9])$/.exec(code);
    if (match) return 48 + Number(match[1]);
    match = /^Key([A-Z])$/.exec(code);
    if (match) return match[1].charCodeAt(0);
    return 0;
  }
  function call(name, ...values) {
    if (Module.calledRun) Module['_' + name](...values);
  }
  window.addEventListener('keydown', function (event) {
    if (event.ctrlKey && event.code === 'KeyR') {
      call('vornel_page_rotate');
      event.preventDefault();
      return;
    }
    const virtualKey = virtualKeyOf(event.code);
    if (virtualKey !== 0) {
      call('vornel_page_key', 1, virtualKey);
      event.preventDefault();
    }
    if (event.key.length === 1 && event.key.charCodeAt(0) < 256 && !event.ctrlKey && !event.metaKey) {
      call('vornel_page_character', event.key.charCodeAt(0));
    }
  });
  window.addEventListener('keyup', function (event) {
    const virtualKey = virtualKeyOf(event.code);
    if (virtualKey !== 0) {
      call('vornel_page_key', 0, virtualKey);
      event.preventDefault();
    }
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

  // A page in the background pauses the game, as a window in the background did.
  document.addEventListener('visibilitychange', function () {
    call('vornel_page_visible', document.hidden ? 0 : 1);
  });
})();
