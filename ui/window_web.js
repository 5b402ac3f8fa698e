// The page's side of the browser front end (window_web.h): windows and their
// controls as DOM elements. Keys, clicks and typing are reported to the program,
// which decides what they do; nothing the program shows is written here:
// captions, names, tooltips and places come from the window descriptions through
// window_web.cpp, texts as UTF-16 units and a count.

var LibraryVelbrinWeb = {
  $VelbrinWeb__deps: ['malloc', 'free'],
  $VelbrinWeb__postset: 'VelbrinWeb.start();',
  $VelbrinWeb: {
    // As ui::Kind, ui::Flag and ui::Key (window_web.cpp asserts that they still agree).
    Label: 0, TextBox: 1, Button: 2, Picture: 3, Line: 4,
    ReadOnly: 1, MultiLine: 2, Bordered: 4, AutoSize: 8, Hidden: 16, Digits: 128,
    keys: {Tab: 0, Enter: 1, Escape: 2},

    windows: {}, // by id
    stack: [], // the windows and message boxes shown; the last one takes the keys
    stopped: false, // after a failure only a message box takes input
    ended: false,
    scale: 1, // the main window's, which the message boxes and the ended note share

    start: function () {
      var V = VelbrinWeb;
      document.addEventListener('keydown', V.key, true);
      // Served from a web server, the page is an app, which starts where it was
      // opened from: its manifest, which the page carries, is linked with that.
      var manifest = document.getElementById('manifest');
      if (manifest && /^https?:$/.test(location.protocol)) {
        var app = JSON.parse(manifest.textContent);
        app.start_url = app.id = location.href.split('#')[0];
        var link = document.createElement('link');
        link.rel = 'manifest';
        link.href = 'data:application/manifest+json,' + encodeURIComponent(JSON.stringify(app));
        document.head.append(link);
      }
      // A turned phone, or a narrowed window, scales the windows anew.
      V.measure();
      addEventListener('resize', function () {
        V.measure();
        V.call(V.fitAll);
      });
      // No text is dragged out of a box, as on the desktop: here a drag would
      // copy it into the other box, into an identifier.
      document.addEventListener('dragstart', function (e) {
        if (e.target instanceof Element && e.target.closest('.window input, .window textarea'))
          e.preventDefault();
      }, true);
      // A click on a label, a picture or a title bar leaves the focus where it is,
      // as on the desktop; the close box does not take it either.
      document.addEventListener('mousedown', function (e) {
        var t = e.target;
        if (t instanceof Element && t.closest('.window') &&
            !t.closest('input, textarea, button:not(.close-box), .message-box .text'))
          e.preventDefault();
      }, true);
    },

    text: function (pointer, length) {
      var text = '';
      for (var at = pointer >> 1, end = at + length; at < end; at += 8192)
        text += String.fromCharCode.apply(null, HEAPU16.subarray(at, Math.min(end, at + 8192)));
      return text;
    },
    // The page's own failures end the program as the program's do.
    fail: function (error) {
      try {
        var bytes = new TextEncoder().encode(String(error && error.message || error));
        var at = _malloc(bytes.length + 1);
        HEAPU8.set(bytes, at);
        _velbrin_web_fail(at, bytes.length);
        _free(at);
      } catch (again) {
        VelbrinWeb.end(1, '');
      }
    },
    call: function (work) {
      if (VelbrinWeb.ended) return;
      try {
        work();
      } catch (error) {
        VelbrinWeb.fail(error);
      }
    },
    event: function (w, index, event) {
      VelbrinWeb.call(function () { _velbrin_web_event(w.id, index, event); });
    },
    close: function (w) {
      VelbrinWeb.call(function () { _velbrin_web_close(w.id); });
    },
    paste: function (w, index, text) {
      var at = _malloc(2 * text.length + 2);
      if (!at) return; // more than the memory takes: nothing is pasted
      for (var i = 0, base = at >> 1; i < text.length; i++) HEAPU16[base + i] = text.charCodeAt(i);
      VelbrinWeb.call(function () { _velbrin_web_paste(w.id, index, at, text.length); });
      _free(at);
    },

    titleBar: function (frame, id, caption, onClose) {
      var bar = document.createElement('div');
      bar.className = 'title-bar';
      var title = document.createElement('span');
      title.className = 'caption';
      title.id = id + '-caption';
      title.textContent = caption;
      // The desktop's close box: not in the tab order, named as the system names it.
      var box = document.createElement('button');
      box.type = 'button';
      box.className = 'close-box';
      box.tabIndex = -1;
      box.setAttribute('aria-label', 'Close');
      box.textContent = '\u00d7';
      box.addEventListener('click', onClose);
      bar.append(title, box);
      frame.setAttribute('aria-labelledby', title.id);
      frame.append(bar);
      return title;
    },
    show: function (w, first) {
      var V = VelbrinWeb;
      if (w.shown || V.ended) return;
      w.shown = true;
      // The focus goes straight to its control: a dialog would first give it to
      // the first that takes it, the close box.
      first = w.pending || w.controls[first];
      w.pending = null;
      if (first) first.autofocus = true;
      if (w.main) w.frame.hidden = false;
      else w.frame.showModal();
      V.stack.push(w);
      // Scaled first, so that the page is laid out once, at the scale, and the
      // buttons and boxes are measured as they are drawn.
      V.fit(w);
      V.fitButtons(w);
      V.wholeLines(w);
      if (first) {
        first.autofocus = false;
        first.focus();
      }
    },
    // A button too narrow for its caption in this font grows as the program says.
    // Measured once the window is shown.
    fitButtons: function (w) {
      w.controls.forEach(function (b, i) {
        if (w.box || b.tagName !== 'BUTTON' || b.hidden) return;
        b.style.left = w.places[i][2] + 'px';
        b.style.width = w.places[i][0] + 'px';
        var right = w.places[i][2] + w.places[i][0];
        var left = _velbrin_web_grown_left(w.places[i][2], w.places[i][0],
                                           Math.ceil(b.scrollWidth + b.offsetWidth - b.clientWidth));
        b.style.left = left + 'px';
        b.style.width = right - left + 'px';
      });
    },
    // The page's room and the frame's measures, taken while the page is still
    // empty, since reading them later would lay out a window before it is scaled.
    measure: function () {
      var page = document.documentElement, css = getComputedStyle(page);
      var px = function (name) { return parseFloat(css.getPropertyValue(name)) || 0; };
      VelbrinWeb.page = {
        width: page.clientWidth, height: page.clientHeight, margin: px('--page-margin'),
        border: px('--frame-border'), title: px('--title-height'),
        phone: matchMedia('(pointer: coarse)').matches && !matchMedia('(any-pointer: fine)').matches
      };
    },
    // The windows keep their layout at any size, scaled as a whole: on a phone or
    // a tablet (a touch screen and no mouse) to the screen, as large as its width
    // and height allow, and elsewhere only down, when the page is narrower than
    // the window. A window so scaled stands in the middle of the page's width, a
    // dialog also of its height; the dialogs, the message boxes and the ended note
    // take the main window's scale, or less where they would not fit.
    fit: function (w) {
      var V = VelbrinWeb, el = w.frame, page = V.page;
      var margin = page.margin, phone = page.phone;
      el.style.zoom = '';
      el.style.left = w.left || '';
      el.style.top = w.top || '';
      // On a phone a window's size is known from its description, and the page is
      // laid out once, at its scale; elsewhere it is measured, and only a window
      // that sticks out is narrowed to its client area.
      el.classList.toggle('scaled', !w.box && phone);
      var width = phone && !w.box ? w.width + 2 * page.border : el.offsetWidth;
      var fits = w.box || (!phone && el.offsetLeft + width + margin <= page.width);
      if (!fits && !phone) {
        el.classList.add('scaled');
        width = el.offsetWidth;
      }
      var height = phone && !w.box ? w.height + page.title + 2 * page.border : el.offsetHeight;
      var scale = Math.min(page.width / (width + 2 * margin), !w.main ? V.scale
          : phone ? page.height / (height + 2 * margin) : 1);
      if (w.main) V.scale = scale;
      if ((scale === 1 && fits) || !(scale > 0)) return;
      if (scale !== 1) el.style.zoom = String(scale);
      if (w.box) return; // the style sheet centres it
      el.style.left = (page.width / scale - width) / 2 + 'px';
      if (!w.main) el.style.top = Math.max(margin, (page.height / scale - height) / 2) + 'px';
    },
    fitAll: function () {
      var V = VelbrinWeb;
      V.stack.forEach(V.fit);
      var ended = document.getElementById('ended');
      if (ended) ended.style.zoom = V.scale === 1 ? '' : String(V.scale);
    },
    // A multi-line box shows whole lines only, as the desktop's do: its lines are
    // spaced to fill it, where the page's own spacing would show the top half of
    // one more line at its foot. Measured once the window is shown.
    wholeLines: function (w) {
      w.controls.forEach(function (box) {
        if (box.tagName !== 'TEXTAREA' || box.hidden) return;
        var probe = document.createElement('div');
        probe.textContent = 'X';
        w.client.append(probe);
        // Measured on the screen, where a scaled window's lines are scaled too.
        var line = probe.getBoundingClientRect().height / (parseFloat(w.frame.style.zoom) || 1);
        probe.remove();
        var room = box.clientHeight;
        box.style.lineHeight = room / Math.max(1, Math.floor(room / line)) + 'px';
      });
    },
    hide: function (w) {
      var V = VelbrinWeb;
      if (!w.shown) return;
      w.shown = false;
      V.stack = V.stack.filter(function (s) { return s !== w; });
      if (w.main) w.frame.hidden = true;
      else if (w.frame.open) w.frame.close();
      // A message box gives the focus back here; a window, as the program says.
      var back = w.returnFocus;
      if (w.box && back && back.isConnected && !V.ended && back.focus) back.focus();
    },
    closeMessage: function (w) {
      var V = VelbrinWeb;
      if (!w.shown) return;
      V.hide(w);
      w.frame.remove();
      V.call(function () { _velbrin_web_message_closed(w.box); });
    },
    // The dialog keys, reported to the program, which says whether it took them.
    // The browser's own accesskey would also press hidden buttons and those behind
    // a modal dialog, and would move the focus. A message box's one button takes
    // Enter and Esc, and Tab stays on it.
    key: function (e) {
      var V = VelbrinWeb;
      var w = V.stack[V.stack.length - 1];
      if (V.ended || !w || (V.stopped && !w.box) || e.isComposing || e.keyCode === 229) return;
      var name = e.key in V.keys ? V.keys[e.key] : 4;
      if (w.box) {
        if (name === 4 || e.altKey || e.ctrlKey || e.metaKey) return;
        e.preventDefault();
        if (name !== V.keys.Tab) V.closeMessage(w);
        return;
      }
      var letter = e.key && [...e.key].length === 1 ? e.key.codePointAt(0)
          : /^Key[A-Z]$/.test(e.code) ? e.code.charCodeAt(3) : 0;
      if (name === 4 && letter) name = 3;
      V.call(function () {
        if (_velbrin_web_key(w.id, name, letter, e.shiftKey, e.altKey, e.ctrlKey || e.metaKey))
          e.preventDefault();
      });
    },
    control: function (w, index, c) {
      var V = VelbrinWeb;
      var kind = c.kind, flags = c.flags, el;
      if (kind === V.Label) {
        el = document.createElement('span');
        el.className = flags & V.Bordered ? 'label bordered' : 'label';
      } else if (kind === V.TextBox) {
        var multi = flags & V.MultiLine;
        el = document.createElement(multi ? 'textarea' : 'input');
        if (!multi) el.type = 'text';
        el.readOnly = !!(flags & V.ReadOnly);
        // An identifier is no word: a phone's keyboard neither corrects, capitalises
        // nor completes it, and offers its digits where that is all it holds.
        el.spellcheck = false;
        el.autocomplete = 'off';
        el.setAttribute('autocapitalize', 'off');
        el.setAttribute('autocorrect', 'off');
        if (flags & V.Digits) el.inputMode = 'numeric';
        if (c.maxLength > 0 && !multi) el.maxLength = c.maxLength;
        if (c.heard) el.setAttribute('aria-label', c.heard);
        if (!multi && !el.readOnly) {
          // A keyboard that composes a word reports every character as it comes, and
          // the program follows each; what the program writes back into the box
          // waits until the word is done (velbrin_web_set_text), since a write
          // would break it. Done, the box's text is told again to be written back.
          el.addEventListener('compositionstart', function () { el.velbrinComposing = true; });
          el.addEventListener('input', function () { V.event(w, index, 0); });
          el.addEventListener('compositionend', function () {
            el.velbrinComposing = false;
            V.event(w, index, 0);
          });
          // Pasted or dropped text goes through the program, which keeps its
          // first line; the page's own would join the lines with spaces.
          el.addEventListener('paste', function (e) {
            e.preventDefault();
            if (e.clipboardData) V.paste(w, index, e.clipboardData.getData('text/plain'));
          });
          el.addEventListener('drop', function (e) {
            e.preventDefault();
            var text = e.dataTransfer ? e.dataTransfer.getData('text/plain') : '';
            if (!text) return;
            var at = document.caretPositionFromPoint
                ? document.caretPositionFromPoint(e.clientX, e.clientY) : null;
            el.focus();
            if (at && at.offsetNode === el) el.setSelectionRange(at.offset, at.offset);
            V.paste(w, index, text);
          });
        }
      } else if (kind === V.Button) {
        el = document.createElement('button');
        el.type = 'button';
        el.addEventListener('click', function () { V.event(w, index, 1); });
      } else if (kind === V.Picture) {
        // Decoration: the page's own icon, at its size in the box's corner.
        el = document.createElement('img');
        el.alt = '';
        el.draggable = false;
        var icon = document.querySelector('link[rel~="icon"]');
        if (icon) el.src = icon.href;
      } else {
        el = document.createElement('div');
        el.className = 'line';
        el.setAttribute('aria-hidden', 'true');
      }
      el.id = c.name;
      // Of two that overlap, the earlier lies on top: an auto-sized label grown over a
      // button does not take its clicks. All lie above the client area's face.
      el.style.zIndex = String(-1 - index);
      el.style.left = c.left + 'px';
      el.style.top = c.top + 'px';
      el.style.width = c.width + 'px';
      el.style.height = c.height + 'px';
      if (c.colour !== -1) {
        var value = c.colour === -2 ? 'MenuText' : '#' + (0x1000000 + c.colour).toString(16).slice(1);
        if (kind === V.Line) el.style.backgroundColor = value;
        else el.style.color = value;
      }
      if (c.tooltip) el.title = c.tooltip;
      if (flags & V.Hidden) el.hidden = true;
      w.controls[index] = el;
      w.places[index] = [c.width, c.height, c.left];
      w.autoSize[index] = !!(flags & V.AutoSize);
      w.client.append(el);
    },
    end: function (status, note) {
      var V = VelbrinWeb;
      if (V.ended) return;
      V.ended = true;
      V.stack = [];
      document.querySelectorAll('.window').forEach(function (frame) {
        if (frame.open) frame.close();
        frame.remove();
      });
      // A script may not close a tab it did not open: the page says instead.
      var said = document.createElement('p');
      said.id = 'ended';
      said.setAttribute('role', 'status');
      said.textContent = note;
      if (V.scale !== 1) said.style.zoom = String(V.scale);
      document.body.append(said);
      document.title = note; // the tab no longer names a running program
      document.documentElement.dataset.exitStatus = String(status);
    },
  },

  velbrin_web_window: function (description) {
    var V = VelbrinWeb;
    var d = JSON.parse(UTF8ToString(description));
    var main = d.frame === 0;
    var el = document.createElement(main ? 'main' : 'dialog');
    var w = {id: d.id, main: main, frame: el, controls: [], places: [], autoSize: [],
             shown: false, pending: null, width: d.width, height: d.height};
    el.id = d.name;
    el.className = 'window';
    w.caption = V.titleBar(el, el.id, '', function () { V.close(w); });
    w.client = document.createElement('div');
    w.client.className = 'client';
    w.client.style.width = d.width + 'px';
    w.client.style.height = d.height + 'px';
    // What the window tells a screen reader without moving the focus.
    w.live = document.createElement('div');
    w.live.id = el.id + '-announced';
    w.live.className = 'announcement';
    w.live.setAttribute('role', 'status');
    w.live.setAttribute('aria-live', 'polite');
    el.append(w.client, w.live);
    if (d.placed) { // the client area's corner is the place
      w.left = el.style.left = 'calc(' + d.left + 'px - var(--frame-border))';
      w.top = el.style.top = 'calc(' + d.top + 'px - var(--frame-border) - var(--title-height))';
    }
    if (main) {
      el.hidden = true;
    } else {
      // Esc comes as a key; a close request from elsewhere is taken as Esc, and a
      // dialog closed by the browser itself as its close box.
      el.addEventListener('cancel', function (e) {
        e.preventDefault();
        V.call(function () { _velbrin_web_key(w.id, V.keys.Escape, 0, 0, 0, 0); });
      });
      el.addEventListener('close', function () {
        if (!w.shown || el.open) return; // its own hiding, told late
        V.hide(w);
        V.close(w);
      });
    }
    d.controls.forEach(function (c, index) { V.control(w, index, c); });
    V.windows[d.id] = w;
    document.body.append(el);
  },

  velbrin_web_drop_window: function (id) {
    var V = VelbrinWeb;
    var w = V.windows[id];
    V.hide(w);
    w.frame.remove();
    delete V.windows[id];
  },

  velbrin_web_show: function (id, first) {
    VelbrinWeb.show(VelbrinWeb.windows[id], first);
  },

  velbrin_web_hide: function (id) {
    VelbrinWeb.hide(VelbrinWeb.windows[id]);
  },

  velbrin_web_set_title: function (id, text, length) {
    var w = VelbrinWeb.windows[id];
    w.caption.textContent = VelbrinWeb.text(text, length);
    if (w.main) document.title = w.caption.textContent;
  },

  velbrin_web_set_text: function (id, index, pointer, length, accessKey) {
    var V = VelbrinWeb;
    var w = V.windows[id];
    var el = w.controls[index];
    var text = V.text(pointer, length);
    if (el.tagName === 'BUTTON') {
      // The access key underlined, as on the desktop, and told to screen readers.
      el.textContent = '';
      el.removeAttribute('aria-keyshortcuts');
      if (accessKey < 0 || accessKey >= text.length) {
        el.textContent = text;
        return;
      }
      var key = String.fromCodePoint(text.codePointAt(accessKey));
      var marked = document.createElement('u');
      marked.textContent = key;
      el.append(text.slice(0, accessKey), marked, text.slice(accessKey + key.length));
      el.setAttribute('aria-keyshortcuts', 'Alt+' + key.toUpperCase());
    } else if (el.tagName === 'INPUT' || el.tagName === 'TEXTAREA') {
      if (el.velbrinComposing) return; // told again when the word is done
      el.value = text;
      if (el.tagName === 'TEXTAREA') { // from its first line, like a new document
        el.setSelectionRange(0, 0);
        el.scrollTop = 0;
      }
    } else {
      el.textContent = text;
      if (w.autoSize[index]) { // the size of its text; an empty one keeps its place's
        el.style.width = text ? '' : w.places[index][0] + 'px';
        el.style.height = text ? '' : w.places[index][1] + 'px';
      }
    }
  },

  velbrin_web_text_length: function (id, index) {
    var el = VelbrinWeb.windows[id].controls[index];
    return ('value' in el && el.tagName !== 'BUTTON' ? el.value : el.textContent).length;
  },

  velbrin_web_copy_text: function (id, index, into, capacity) {
    var el = VelbrinWeb.windows[id].controls[index];
    var text = 'value' in el && el.tagName !== 'BUTTON' ? el.value : el.textContent;
    var count = Math.min(text.length, capacity);
    for (var i = 0, base = into >> 1; i < count; i++) HEAPU16[base + i] = text.charCodeAt(i);
    return count;
  },

  velbrin_web_set_visible: function (id, index, visible) {
    VelbrinWeb.windows[id].controls[index].hidden = !visible;
  },

  velbrin_web_set_max_length: function (id, index, length) {
    var el = VelbrinWeb.windows[id].controls[index];
    if (length > 0) el.maxLength = length;
    else el.removeAttribute('maxlength');
  },

  velbrin_web_caret: function (id, index) {
    return VelbrinWeb.windows[id].controls[index].selectionEnd || 0;
  },

  velbrin_web_set_caret: function (id, index, position) {
    var el = VelbrinWeb.windows[id].controls[index];
    if (!el.velbrinComposing) el.setSelectionRange(position, position);
  },

  velbrin_web_announce: function (id, text, length) {
    VelbrinWeb.windows[id].live.textContent = VelbrinWeb.text(text, length);
  },

  velbrin_web_focus: function (id, index, selectAll) {
    var w = VelbrinWeb.windows[id], el = w.controls[index];
    if (!w.shown) return void (w.pending = el); // for when it is shown
    el.focus();
    if (selectAll) el.select();
  },

  velbrin_web_focused: function (id) {
    return VelbrinWeb.windows[id].controls.indexOf(document.activeElement);
  },

  velbrin_web_insert: function (id, index, pointer, length) {
    var el = VelbrinWeb.windows[id].controls[index];
    var text = VelbrinWeb.text(pointer, length);
    if (document.activeElement !== el) el.focus();
    // As typed: into the selection, cut at the box's limit, undoable, and the
    // box's input event follows.
    if (document.execCommand('insertText', false, text)) return;
    var start = el.selectionStart, end = el.selectionEnd;
    if (el.maxLength >= 0) {
      text = text.slice(0, Math.max(0, el.maxLength - (el.value.length - (end - start))));
      if (/[\ud800-\udbff]$/.test(text)) text = text.slice(0, -1);
    }
    el.setRangeText(text, start, end, 'end');
    el.dispatchEvent(new InputEvent('input', {inputType: 'insertFromPaste', data: text}));
  },

  velbrin_web_message_box: function (box, caption, captionLength, text, textLength, icon) {
    var V = VelbrinWeb;
    if (V.ended) return;
    var frame = document.createElement('dialog');
    frame.className = 'window message-box';
    frame.setAttribute('role', 'alertdialog');
    var id = 'message-box-' + box;
    var w = {id: id, box: box, frame: frame, shown: true, returnFocus: document.activeElement};
    V.titleBar(frame, id, V.text(caption, captionLength), function () { V.closeMessage(w); });
    var client = document.createElement('div');
    client.className = 'client';
    if (icon === 1) {
      var sign = document.createElement('div');
      sign.className = 'icon error';
      sign.setAttribute('role', 'img');
      sign.setAttribute('aria-label', 'Error');
      client.append(sign);
    }
    var said = document.createElement('p');
    said.className = 'text';
    said.id = id + '-text';
    said.textContent = new TextDecoder().decode(HEAPU8.slice(text, text + textLength));
    var ok = document.createElement('button');
    ok.type = 'button';
    ok.className = 'ok';
    ok.textContent = 'OK';
    ok.addEventListener('click', function () { V.closeMessage(w); });
    var buttons = document.createElement('div');
    buttons.className = 'buttons';
    buttons.append(ok);
    client.append(said, buttons);
    frame.append(client);
    frame.setAttribute('aria-describedby', said.id);
    frame.addEventListener('cancel', function (e) {
      e.preventDefault();
      V.closeMessage(w);
    });
    frame.addEventListener('close', function () { V.closeMessage(w); });
    w.controls = [ok];
    ok.autofocus = true;
    document.body.append(frame);
    frame.showModal();
    ok.autofocus = false;
    ok.focus();
    V.stack.push(w);
    V.fit(w);
  },

  velbrin_web_stop_input: function () {
    var V = VelbrinWeb;
    V.stopped = true;
    for (var id in V.windows) V.windows[id].frame.inert = true;
  },

  velbrin_web_end: function (status, note, length) {
    VelbrinWeb.end(status, VelbrinWeb.text(note, length));
  },
};

autoAddDeps(LibraryVelbrinWeb, '$VelbrinWeb');
mergeInto(LibraryManager.library, LibraryVelbrinWeb);
