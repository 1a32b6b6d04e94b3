// The page's side of the emulated handheld, run before the game starts: the canvas the
// display is drawn into, scaled by the largest whole factor that fits, the sound, and the
// page's keys, pointers and visibility handed to the game as the browser reports them.
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

  // The page's keys and pointers go to the game as the browser reports them (event.code,
  // event.key, the modifiers; pointer positions on the canvas); what they mean to the
  // handheld is decided by the game's own tables. It answers inside the handler, where the
  // browser still allows keeping the event from it and switching full screen.
  const kTaken = 1;
  const kToggleFullScreen = 2;
  function running() { return Module.calledRun; }
  function modifiersOf(event) {
    return (event.ctrlKey ? 1 : 0) | (event.altKey ? 2 : 0) |
      (event.getModifierState && event.getModifierState('AltGraph') ? 4 : 0) | (event.metaKey ? 8 : 0);
  }
  function answer(event, flags) {
    if (flags & kTaken) event.preventDefault();
    if (flags & kToggleFullScreen) {
      if (document.fullscreenElement) document.exitFullscreen(); else canvas.parentElement.requestFullscreen();
    }
  }
  window.addEventListener('keydown', function (event) {
    if (!running()) return;
    answer(event, Module.ccall('vornel_page_key_down', 'number', ['string', 'string', 'number', 'number'],
                               [event.code, event.key, modifiersOf(event), event.repeat ? 1 : 0]));
  });
  window.addEventListener('keyup', function (event) {
    if (!running()) return;
    answer(event, Module.ccall('vornel_page_key_up', 'number', ['string', 'string', 'number'],
                               [event.code, event.key, modifiersOf(event)]));
  });
  window.addEventListener('blur', function () {
    if (running()) Module._vornel_page_blur();
  });

  const pointerKinds = { pointerdown: 0, pointermove: 1, pointerup: 2, pointercancel: 2 };
  function pointer(event) {
    if (!running()) return;
    const box = canvas.getBoundingClientRect();
    const flags = Module._vornel_page_pointer(pointerKinds[event.type], event.pointerId, event.button,
                                              event.clientX - box.left, event.clientY - box.top, box.width, box.height);
    if ((flags & kTaken) && event.type === 'pointerdown') {
      canvas.setPointerCapture(event.pointerId);
      event.preventDefault();
    }
  }
  for (const type of Object.keys(pointerKinds)) canvas.addEventListener(type, pointer);

  // A page in the background, or without the focus, pauses the game, as a window in the
  // background did.
  function visible(shown) {
    if (running()) Module._vornel_page_visible(shown ? 1 : 0);
  }
  document.addEventListener('visibilitychange', function () { visible(!document.hidden); });
  window.addEventListener('blur', function () { visible(false); });
  window.addEventListener('focus', function () { visible(!document.hidden); });
})();
