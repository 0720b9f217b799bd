// The calculator page: the main window's inputs, result panels, profiles,
// load cases, calculation sheet, Open/Save/New and a printable report, all
// driven by the module (orvane.js). Every step goes through the module's
// Calculator, which runs the desktop program's session; this file only lays
// out what it returns. Nothing here talks to a network.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  // Rows of a load-case result drawn in the table; the governing cases and the
  // counts cover every row.
  const SHOWN_ROWS = 1000;

  const page = {
    calc: null,
    inputs: [],
    byName: new Map(),
    controls: new Map(), // field key (input name, or name@frame) -> control
    rows: new Map(), // field key -> {row, def, place, label}
    groups: new Map(), // frame title -> {fs, frame}
    texts: new Map(), // projectName, ident -> their text fields
    state: null,
    timings: {},
    dialogOpen: false,
  };
  window.orvanePage = page;

  const parse = (text) => (typeof text === 'string' ? JSON.parse(text) : text);

  function setStatus(text) {
    $('status').textContent = text;
  }

  // ---- warnings: the window's message boxes -------------------------------

  // Shows one message box: the title is the field's caption, the text exactly
  // as the module gives it; OK, Enter or Escape closes it.
  function messageBox(title, text) {
    const dlg = $('message');
    $('message-title').textContent = title;
    $('message-text').textContent = text;
    page.dialogOpen = true;
    return new Promise((resolve) => {
      const done = () => {
        dlg.removeEventListener('close', done);
        page.dialogOpen = false;
        resolve();
      };
      dlg.addEventListener('close', done);
      dlg.showModal();
      $('message-ok').focus();
    });
  }

  // The window titles a warning about an input with what the user reads for
  // it, caption and unit ("Shell thickness t [mm]"), as the module names it.
  async function showWarnings(result, caption) {
    const list = (result && result.warnings) || [];
    for (const w of list) {
      const title = (typeof w === 'object' && w.title) || caption;
      await messageBox(title, typeof w === 'string' ? w : w.text);
    }
    if (result && result.error) await messageBox(caption, result.error);
  }

  // ---- the form ---------------------------------------------------------

  // Where the main window shows each input: its frames, in the window's field
  // order (the Tab order: geometry first, the allowable usage factor last), the labels it writes beside them and which frames the cylinder
  // type shows. Layout only: what an input is (kind, lists, tests, warnings)
  // comes from the module's input table. An input of the table that no frame
  // names is shown in a frame of its module group.
  const STIFFENED = (m) => m.cyltype === 1 || m.cyltype === 2;
  const FRAMES = [
    {
      title: 'Geometry/Plate material (mm, MPa)',
      fields: [
        { input: 'r', label: 'Cylinder radius (cL plate)  r =', next: 'l' },
        { input: 't', label: 'Cylinder wall thickness  t =', next: 'E' },
        { input: 'l', label: 'Distance between ring frames  l =', next: 't' },
        { input: 'E', label: 'Youngs modulus  E =', next: 'matp' },
        { input: 'matp', label: 'Material:', next: 'fyp|s|L@ring|sigx|L@column' },
        { input: 'fyp', label: 'fyp:', unit: 'MPa', next: 's|L@ring|sigx|L@column' },
      ],
    },
    {
      title: 'Stiffener data  (mm)',
      shown: (m) => m.cyltype === 2,
      fields: [
        { input: 'cbostiff', label: 'Profile:', next: 'mats' },
        { input: 's', label: 'Stiff spacing:  s =', next: 'ltst', reads: true },
        { input: 'ltst', label: 'Lat tors buckl length:  lt =', next: 'cbostiff', reads: true },
        { input: 'mats', label: 'Material:', next: 'fys|L@ring|sigx|L@column' },
        { input: 'fys', label: 'fys:', unit: 'MPa', next: 'L@ring|sigx|L@column' },
      ],
    },
    {
      title: 'Ringframe data (mm)',
      shown: STIFFENED,
      fields: [
        { input: 'cboring', label: 'Profile:', next: 'matg' },
        { input: 'L', key: 'L@ring', label: 'Cylinder length:  L =', next: 'ltgi', reads: true },
        { input: 'ltgi', label: 'Lat tors buckl length:  lt =', next: 'cboring' },
        { input: 'matg', label: 'Material:', next: 'fyg|sigx' },
        { input: 'fyg', label: 'fyg:', unit: 'MPa', next: 'sigx' },
        { input: 'ringfab', radios: ['Fabricated ring frame', 'Cold-formed ring frame'] },
      ],
    },
    {
      title: 'Loading (MPa)',
      shown: (m) => m.cyltype !== 3,
      fields: [
        { input: 'sigx', label: 'Sigx =', next: 'sigy', reads: true },
        { input: 'sigy', label: 'Sigy =', next: 'tau', reads: true },
        { input: 'tau', label: 'Tau =', next: 'pd@loading', reads: true },
        { input: 'pd', key: 'pd@loading', label: 'pd =', reads: true },
      ],
      note: 'Note 1: Negative sigx / sigy = compression. Note 2: Positive pd = inside pressure.',
    },
    {
      title: 'Column data',
      shown: (m) => m.cyltype === 3,
      fields: [
        { input: 'L', key: 'L@column', label: 'Column length L =', unit: 'mm', next: 'k1', reads: true },
        { input: 'k1', label: 'Buckling length factor  k1 =', next: 'k2', reads: true },
        { input: 'k2', label: 'k2 =', next: 'N', reads: true },
        { input: 'N', label: 'N =', unit: 'kN', next: 'pd@column', reads: true },
        { input: 'pd', key: 'pd@column', label: 'pd =', unit: 'MPa', next: 'M1a', reads: true },
        { input: 'M1a', label: 'M1a =', unit: 'kNm', next: 'M1b', reads: true },
        { input: 'M1b', label: 'M1b =', unit: 'kNm', next: 'M2a', reads: true },
        { input: 'M2a', label: 'M2a =', unit: 'kNm', next: 'M2b', reads: true },
        { input: 'M2b', label: 'M2b =', unit: 'kNm', reads: true },
        { input: 'odmom', label: 'Dimensioning moments for buckling', radios: ['Maximum along the member', 'Reduced value'] },
      ],
    },
    // The project name and identification follow the loads, as Enter goes.
    { general: true },
    {
      title: 'Cylinder type and Controls',
      fields: [
        { input: 'cyltype', radios: ['Cylinder', 'Ring stiffened', 'Stringer stiffened', 'Column buckling'] },
        { input: 'ring_ch', label: 'Ringframe control', flag: true, shown: STIFFENED },
        { input: 'hring_ch', label: 'Heavy Ringframe control', flag: true, shown: STIFFENED },
        { input: 'Outside_ch', label: 'Outside stiffening', flag: true, shown: STIFFENED },
        { input: 'wsd', label: 'LRFD/WSD', radios: ['LRFD', 'WSD'] },
        {
          input: 'ufb',
          label: (m) => (m.wsd ? 'Basic Usage Factor, n0 =' : 'Allowable Usage Factor UF ='),
          next: 'r',
        },
      ],
    },
    // Drawn inside the ring-frame panel, while its last line is the special-Ih remark.
    {
      title: 'Special calculation of Ih',
      panel: 'ring',
      shown: (m) => m.pd < 0,
      fields: [{ input: 'check_ih', label: 'Special Calc. of Ih (ref ch 3.5.2.7)', flag: true }],
    },
  ];
  // Inputs the profile view shows, not the main form.
  const PROFILE_INPUT = /^(stiff|ring)_|^(st|rg)_/;

  // The warning title of an input.
  function captionOf(def) {
    if (def.displayName) return def.displayName;
    const c = def.caption || def.name;
    return def.unit ? c + ' [' + def.unit + ']' : c;
  }

  function choicesOf(def) {
    return Array.isArray(def.choices) ? def.choices : [];
  }

  function isFlag(def) {
    return def.kind === 'flag';
  }

  function isList(def) {
    return def.kind === 'list' || (!isFlag(def) && choicesOf(def).length > 0);
  }

  function makeFrame(title) {
    const fs = document.createElement('fieldset');
    fs.className = 'group';
    fs.dataset.group = title;
    const lg = document.createElement('legend');
    lg.textContent = title;
    fs.appendChild(lg);
    $('inputs').appendChild(fs);
    return fs;
  }

  function textOf(label, mode) {
    return typeof label === 'function' ? label(mode || {}) : label;
  }

  // One control of the form: a number field, a list, a check box or a group
  // of option buttons, with the frame's label.
  function addControl(fs, def, place) {
    const key = place.key || def.name;
    const id = 'in-' + key.replace('@', '-');
    const row = document.createElement('div');
    row.className = 'field';
    row.dataset.name = def.name;
    let control;
    const lab = document.createElement('label');
    lab.htmlFor = id;
    lab.textContent = textOf(place.label, page.state && page.state.mode) || def.caption || def.name;
    if (place.radios) {
      row.classList.add('radios');
      control = document.createElement('div');
      control.setAttribute('role', 'radiogroup');
      control.id = id;
      const caption = document.createElement('span');
      caption.className = 'radios-caption';
      caption.textContent = place.label || '';
      if (place.label) control.setAttribute('aria-label', place.label);
      else control.setAttribute('aria-label', def.caption || def.name);
      place.radios.forEach((text, i) => {
        const l = document.createElement('label');
        const r = document.createElement('input');
        r.type = 'radio';
        r.name = id;
        r.value = String(i);
        r.addEventListener('change', () => {
          if (r.checked) choose(def, i, r);
        });
        r.addEventListener('keydown', (e) => {
          if (e.key === 'Enter') {
            e.preventDefault();
            moveFocus(r, 1, false);
          }
        });
        l.append(r, ' ' + text);
        control.appendChild(l);
      });
      if (place.label) row.append(caption);
      row.append(control);
    } else if (place.flag || isFlag(def)) {
      row.classList.add('flag');
      control = document.createElement('input');
      control.type = 'checkbox';
      control.id = id;
      row.append(control, lab);
      control.addEventListener('change', () => choose(def, control.checked ? 1 : 0, control));
    } else if (isList(def)) {
      control = document.createElement('select');
      control.id = id;
      choicesOf(def).forEach((c, i) => {
        const o = document.createElement('option');
        const obj = typeof c === 'object' && c !== null;
        o.value = String(obj && c.value !== undefined ? c.value : i);
        o.textContent = obj ? c.label : String(c);
        control.appendChild(o);
      });
      row.append(lab, control);
      control.addEventListener('change', () => choose(def, Number(control.value), control));
      control.addEventListener('keydown', (e) => {
        if (e.key === 'Enter') {
          e.preventDefault();
          moveFocus(control, 1, true);
        }
      });
    } else {
      control = document.createElement('input');
      control.type = 'text';
      control.id = id;
      control.inputMode = 'decimal';
      control.spellcheck = false;
      control.className = 'number';
      row.append(lab, control);
      const unit = place.unit !== undefined ? place.unit : def.unit;
      const u = document.createElement('span');
      u.className = 'unit';
      u.textContent = unit || '';
      row.appendChild(u);
      control.addEventListener('keydown', (e) => onFieldKey(e, def, control));
      // Leaving the field by mouse takes the value as Tab does (not while a
      // step of the field is still showing its warnings).
      control.addEventListener('change', () => {
        if (!page.busy && !page.dialogOpen && isDirty(control)) commit(def, control, 0);
      });
    }
    control.dataset.name = def.name;
    control.dataset.key = key;
    if (place.radios) for (const r of control.querySelectorAll('input')) r.dataset.key = key;
    page.controls.set(key, control);
    page.rows.set(key, { row, def, place, label: lab });
    fs.appendChild(row);
  }

  // The General frame: project name and identification, text the window keeps
  // without a run (Save writes them; the name is the saved file's name).
  function buildGeneral() {
    if (typeof page.calc.setText !== 'function') return;
    const fs = makeFrame('General');
    page.groups.set('General', { fs, frame: { title: 'General' } });
    for (const [key, caption] of [
      ['projectName', 'Project name:'],
      ['ident', 'Identification:'],
    ]) {
      const row = document.createElement('div');
      row.className = 'field text';
      const lab = document.createElement('label');
      lab.htmlFor = 'in-' + key;
      lab.textContent = caption;
      const inp = document.createElement('input');
      inp.type = 'text';
      inp.id = 'in-' + key;
      inp.dataset.key = key;
      inp.spellcheck = false;
      const store = () => {
        if (inp.value === inp.dataset.shown) return;
        page.calc.setText(key, inp.value);
        refresh();
      };
      inp.addEventListener('change', store);
      inp.addEventListener('keydown', (e) => {
        if (e.key !== 'Enter') return;
        e.preventDefault();
        store();
        moveFocus(inp, 1, false);
      });
      row.append(lab, inp);
      fs.appendChild(row);
      page.texts.set(key, inp);
    }
  }

  // The entries of the window's lists (materials as read, profile types); a
  // list whose entries the module does not give is a number field.
  function takeLists() {
    if (typeof page.calc.lists !== 'function') return;
    const lists = parse(page.calc.lists());
    page.userMaterial = lists.userMaterial;
    for (const [name, entries] of Object.entries(lists)) {
      const def = page.byName.get(name);
      if (def && Array.isArray(entries)) {
        def.choices = entries;
        def.kind = 'list';
      }
    }
  }

  // Which fields take a value, where the module does not say: a yield
  // strength only for the user-defined material row, heavy ring-frame control
  // only under ring-frame control (the window's rules).
  function enabledByRule(name, values) {
    const strength = { fyp: 'matp', fys: 'mats', fyg: 'matg' }[name];
    if (strength && page.userMaterial !== undefined)
      return Number(values[strength]) === page.userMaterial;
    if (name === 'hring_ch') return Number(values.ring_ch) === 1;
    return true;
  }

  // The lists' entries again (a project brings its own material rows).
  function relist() {
    if (typeof page.calc.lists !== 'function') return;
    const before = JSON.stringify(page.inputs.map((d) => d.choices || null));
    takeLists();
    if (JSON.stringify(page.inputs.map((d) => d.choices || null)) !== before) buildForm();
  }

  function buildForm() {
    const form = $('inputs');
    form.textContent = '';
    page.groups.clear();
    page.controls.clear();
    page.rows.clear();
    page.texts.clear();
    const placed = new Set();
    for (const frame of FRAMES) {
      if (frame.general) {
        buildGeneral();
        continue;
      }
      const defs = frame.fields.filter((f) => page.byName.has(f.input));
      if (defs.length === 0) continue;
      const fs = makeFrame(frame.title);
      page.groups.set(frame.title, { fs, frame });
      for (const place of defs) {
        addControl(fs, page.byName.get(place.input), place);
        placed.add(place.input);
      }
      if (frame.note) {
        const p = document.createElement('p');
        p.className = 'frame-note';
        p.textContent = frame.note;
        fs.appendChild(p);
      }
    }
    for (const def of page.inputs) {
      if (placed.has(def.name) || PROFILE_INPUT.test(def.name) || def.field === false) continue;
      const title = def.group || 'Other inputs';
      let g = page.groups.get(title);
      if (!g) {
        g = { fs: makeFrame(title), frame: { title } };
        page.groups.set(title, g);
      }
      addControl(g.fs, def, { label: def.caption });
    }
  }

  function isDirty(control) {
    return control.value !== (control.dataset.shown || '');
  }

  function focusables() {
    // A group of option buttons is one stop, at its chosen button.
    return Array.from(document.querySelectorAll('#inputs input, #inputs select')).filter(
      (el) => !el.disabled && el.offsetParent !== null && (el.type !== 'radio' || el.checked),
    );
  }

  // Enter goes to the field's successor as the window's Enter does (the first
  // one shown and enabled); Tab to the next field in field order.
  function moveFocus(control, dir, enter) {
    if (dir === 0) return;
    const entry = page.rows.get(control.dataset.key);
    if (dir > 0 && enter && entry && entry.place.next) {
      for (const n of String(entry.place.next).split('|')) {
        const el = page.controls.get(n);
        const target = el && el.getAttribute('role') === 'radiogroup' ? el.querySelector('input:checked') : el;
        if (target && !target.disabled && target.offsetParent !== null) {
          target.focus();
          if (target.select) target.select();
          return;
        }
      }
    }
    const list = focusables();
    const i = list.indexOf(control);
    const next = list[i + dir];
    if (next) {
      next.focus();
      if (next.select) next.select();
    } else {
      control.blur();
    }
  }

  function onFieldKey(e, def, control) {
    if (page.dialogOpen || page.busy) return;
    if (e.key === 'Enter') {
      e.preventDefault();
      const entry = page.rows.get(control.dataset.key);
      if (isDirty(control) || (entry && entry.place.reads)) commit(def, control, 1, true);
      else moveFocus(control, 1, true);
    } else if (e.key === 'Tab') {
      if (isDirty(control)) {
        e.preventDefault();
        commit(def, control, e.shiftKey ? -1 : 1, false);
      }
    } else if (e.key === 'Escape') {
      control.value = control.dataset.shown || '';
    }
  }

  // A typed value: the window's step (reader, tests, rules, run), then its
  // message boxes, then the focus goes back to the field or on.
  async function commit(def, control, dir, enter) {
    if (page.busy) return;
    page.busy = true;
    const t0 = performance.now();
    const result = parse(page.calc.type(def.name, control.value));
    refresh();
    // The field shows the stored value; after a mismatch the typed text stays.
    if (!result.mismatch) {
      const v = (page.state.values || {})[def.name];
      if (v !== undefined) control.value = control.dataset.shown = String(v);
    }
    page.timings.lastStep = performance.now() - t0;
    try {
      await showWarnings(result, captionOf(def));
    } finally {
      page.busy = false;
    }
    // A test that failed, or text that is no number: the focus goes back.
    if (result.focusBack || result.mismatch) {
      control.focus();
      control.select();
    } else if (dir !== 0) {
      moveFocus(control, dir, enter);
    }
  }

  async function choose(def, value, control) {
    const t0 = performance.now();
    const result = parse(page.calc.choose(def.name, value));
    refresh();
    page.timings.lastStep = performance.now() - t0;
    await showWarnings(result, captionOf(def));
    if (result.focusBack && control) control.focus();
  }

  function showValue(def, control, text) {
    if (text === undefined || text === null) return;
    text = String(text);
    if (control.getAttribute('role') === 'radiogroup') {
      for (const r of control.querySelectorAll('input')) r.checked = r.value === text;
    } else if (control.type === 'checkbox') {
      control.checked = text === '1' || text === 'true';
    } else if (control.tagName === 'SELECT') {
      const byLabel = Array.from(control.options).find((o) => o.textContent === text);
      control.value = byLabel ? byLabel.value : text;
    } else if (document.activeElement !== control || !isDirty(control)) {
      control.value = text;
    }
    control.dataset.shown = text;
  }

  function setDisabled(control, off) {
    if (control.getAttribute('role') === 'radiogroup')
      for (const r of control.querySelectorAll('input')) r.disabled = off;
    else control.disabled = off;
  }

  function refresh() {
    const st = parse(page.calc.state());
    page.state = st;
    const values = st.values || {};
    const enabled = st.enabled || {};
    const visible = st.visible || {};
    const mode = Object.assign({}, st.mode || {});
    for (const k of ['cyltype', 'wsd', 'ring_ch', 'pd'])
      if (mode[k] === undefined && values[k] !== undefined) mode[k] = Number(values[k]);
    page.modeNow = mode;
    for (const [key, control] of page.controls) {
      const { row, def, place, label } = page.rows.get(key);
      showValue(def, control, values[def.name]);
      const off = def.name in enabled ? enabled[def.name] === false : !enabledByRule(def.name, values);
      setDisabled(control, off);
      row.classList.toggle('disabled', off);
      row.hidden = visible[def.name] === false || (place.shown ? !place.shown(mode) : false);
      if (typeof place.label === 'function') label.textContent = place.label(mode);
    }
    // A frame the cylinder type does not use is hidden, as the window hides it.
    for (const { fs, frame } of page.groups.values())
      fs.hidden = frame.shown ? !frame.shown(mode) : false;
    if (page.texts.size) {
      const t = parse(page.calc.texts());
      for (const [key, inp] of page.texts) {
        if (document.activeElement !== inp || inp.value === inp.dataset.shown) inp.value = t[key];
        inp.dataset.shown = t[key];
      }
      page.projectName = t.projectName;
    }
    const title = (page.projectName !== undefined ? page.projectName : st.title || '').replace(/^.*[\\/]/, '');
    $('title').textContent = (title || 'Untitled') + (st.modified ? ' *' : '');
    $('print-title').textContent = title || 'Untitled';
    document.title = (title ? title + ' - ' : '') + 'Orvane DNV';
    const fault = $('fault');
    fault.hidden = !st.fault;
    fault.textContent = st.fault ? 'Calculation stopped: ' + st.fault : '';
    drawPanels();
    refreshProfiles();
  }

  // ---- result panels ------------------------------------------------------

  // The panels' text: the window's face at 7.5 pt (10 px at 96 dpi). The module
  // lays the runs out with these widths; positions arrive in pixels.
  const PANEL_FONT = '10px "DejaVu Sans", sans-serif';
  const measureCanvas = document.createElement('canvas').getContext('2d');
  const widths = new Map(); // the panels' texts repeat from run to run
  function measure(text, bold) {
    const key = (bold ? 'b' : 'n') + text;
    let w = widths.get(key);
    if (w === undefined) {
      measureCanvas.font = (bold ? 'bold ' : '') + PANEL_FONT;
      w = measureCanvas.measureText(text).width;
      if (widths.size > 5000) widths.clear();
      widths.set(key, w);
    }
    return w;
  }

  page.measure = measure;

  function drawPanels() {
    const panels = parse(page.calc.panels(measure));
    const host = $('panels');
    host.textContent = '';
    for (const p of panels) {
      const fs = document.createElement('section');
      fs.className = 'panel';
      fs.dataset.panel = p.id;
      const h = document.createElement('h3');
      h.textContent = panelTitle(p);
      const box = document.createElement('div');
      box.className = 'panel-box';
      box.setAttribute('role', 'group');
      box.setAttribute('aria-label', p.title || p.id);
      let right = 0;
      let bottom = 0;
      for (const run of p.lines || []) {
        const s = document.createElement('span');
        s.className = 'run';
        s.textContent = run.text;
        s.style.left = run.x + 'px';
        s.style.top = run.y + 'px';
        if (run.color && run.color !== '#000000') s.style.color = run.color;
        if (run.bold) s.classList.add('bold');
        if (run.underline) s.classList.add('underline');
        box.appendChild(s);
        right = Math.max(right, run.x + measure(run.text, run.bold));
        bottom = Math.max(bottom, run.y + 15);
      }
      box.style.height = Math.ceil(bottom + 6) + 'px';
      box.style.minWidth = Math.min(Math.ceil(right + 8), 640) + 'px';
      fs.append(h, box);
      host.appendChild(fs);
    }
    // The special-Ih check box sits in the ring-frame panel, as in the window.
    for (const { fs, frame } of page.groups.values()) {
      if (!frame.panel) continue;
      const panel = host.querySelector(`[data-panel="${frame.panel}"]`);
      if (panel && !fs.hidden) panel.appendChild(fs);
      else if (fs.parentNode !== $('inputs')) {
        fs.hidden = true;
        $('inputs').appendChild(fs);
      }
    }
  }

  // The window's frame titles of the panels.
  function panelTitle(p) {
    const column = page.state && page.state.mode && page.state.mode.cyltype === 3;
    if (p.id === 'shell') return 'Results Shell Buckling';
    if (p.id === 'stiffener') return column ? 'Results Global Buckling' : 'Results Stiffener Buckling';
    if (p.id === 'ring') return 'Results Panel Ring Buckling';
    return p.title || p.id;
  }

  // ---- profiles -----------------------------------------------------------

  // The profile windows of the two members: a list per profile table (rows by
  // designation, from the module's tables) and the built-up profiles' plates
  // as fields (inputs of the table). Choosing either makes the member's
  // profile type that one, as the profile windows do.
  const MEMBERS = [
    { which: 'stiffener', prefix: 'stiff', typeInput: 'cbostiff', title: 'Longitudinal stiffener', shown: (m) => m.cyltype === 2 },
    { which: 'ring', prefix: 'ring', typeInput: 'cboring', title: 'Ringframe profile', shown: STIFFENED },
  ];
  const TABLES = { l: 0, t: 2, flat: 4, bulb: 6 };
  const BUILT_UP = {
    lb: { type: 1, title: 'L built-up' },
    tb: { type: 3, title: 'T built-up' },
    fb: { type: 5, title: 'Flatbar built-up' },
    rhs: { type: 7, title: 'RHS' },
    trap: { type: 8, title: 'Trapez-profile' },
    ib: { type: 9, title: 'I built-up' },
  };

  const TABLE_TITLES = { bulb: 'Bulb Flat', l: 'L-table', t: 'T-table', flat: 'Flatbar-table' };

  // The profile tables as the profile windows list them, one list per table
  // (the module names the tables; both members choose from the same rows).
  function profileTables() {
    if (!page.tables) {
      page.tables = Object.keys(TABLES).map((name) => ({
        name,
        title: TABLE_TITLES[name],
        rows: parse(page.calc.profiles(name)),
      }));
    }
    return page.tables;
  }

  function buildProfiles() {
    const host = $('profiles');
    host.textContent = '';
    page.profileControls = [];
    for (const m of MEMBERS) {
      const fs = document.createElement('fieldset');
      fs.className = 'group profile-member';
      fs.dataset.member = m.which;
      const lg = document.createElement('legend');
      lg.textContent = m.title;
      fs.appendChild(lg);
      for (const table of profileTables()) {
        const name = table.name;
        const set = table.set || `${m.prefix}_row_${name}`;
        const type = table.type !== undefined ? table.type : TABLES[name];
        const row = document.createElement('div');
        row.className = 'field';
        const id = `prof-${m.which}-${name}`;
        const lab = document.createElement('label');
        lab.htmlFor = id;
        lab.textContent = table.title || name;
        const sel = document.createElement('select');
        sel.id = id;
        (table.rows || []).forEach((r, i) => {
          const o = document.createElement('option');
          o.value = String(typeof r === 'object' && r.row !== undefined ? r.row : i);
          o.textContent = typeof r === 'string' ? r : r.designation;
          sel.appendChild(o);
        });
        sel.addEventListener('change', () =>
          applySteps([`${m.typeInput}=${type}`, `${set}=${sel.value}`], lab.textContent),
        );
        row.append(lab, sel);
        fs.appendChild(row);
        page.profileControls.push({ control: sel, input: set, typeInput: m.typeInput, type });
      }
      const sets = new Map();
      for (const def of page.inputs) {
        const hit = new RegExp(`^${m.prefix}_(lb|tb|ib|fb|rhs|trap)_`).exec(def.name);
        if (!hit) continue;
        if (!sets.has(hit[1])) sets.set(hit[1], []);
        sets.get(hit[1]).push(def);
      }
      const builtUps = document.createElement('div');
      builtUps.className = 'builtups';
      fs.appendChild(builtUps);
      for (const [key, defs] of sets) {
        const b = BUILT_UP[key];
        const sub = document.createElement('fieldset');
        sub.className = 'builtup';
        const l2 = document.createElement('legend');
        l2.textContent = b.title;
        sub.appendChild(l2);
        for (const def of defs) {
          const row = document.createElement('div');
          row.className = 'field';
          const lab = document.createElement('label');
          lab.htmlFor = 'prof-' + def.name;
          // "Stiffener L built-up height h" reads "height h" under its set.
          lab.textContent = (def.caption || def.name).replace(
            /^(Stiffener|Ring frame) (L built-up|T built-up|I built-up|flat bar|RHS|trapezoid) /,
            '',
          );
          const inp = document.createElement('input');
          inp.type = 'text';
          inp.id = 'prof-' + def.name;
          inp.className = 'number';
          inp.spellcheck = false;
          inp.addEventListener('change', () => {
            if (inp.value === inp.dataset.shown) return;
            applySteps([`${m.typeInput}=${b.type}`, `${def.name}=${inp.value.trim()}`], captionOf(def));
          });
          inp.addEventListener('keydown', (e) => {
            if (e.key !== 'Enter') return;
            e.preventDefault();
            inp.dispatchEvent(new Event('change'));
          });
          const u = document.createElement('span');
          u.className = 'unit';
          u.textContent = def.unit || '';
          row.append(lab, inp, u);
          sub.appendChild(row);
          page.profileControls.push({ control: inp, input: def.name, typeInput: m.typeInput, type: b.type });
        }
        builtUps.appendChild(sub);
      }
      host.appendChild(fs);
      m.fs = fs;
    }
    refreshProfiles();
  }

  function refreshProfiles() {
    if (!page.state || !page.profileControls) return;
    const values = page.state.values || {};
    const mode = page.modeNow || {};
    for (const m of MEMBERS) if (m.fs) m.fs.hidden = !m.shown(mode);
    for (const p of page.profileControls) {
      const text = values[p.input];
      if (text === undefined) continue;
      const current = Number(values[p.typeInput]) === p.type;
      p.control.classList.toggle('current', current);
      if (document.activeElement !== p.control) p.control.value = String(text);
      p.control.dataset.shown = p.control.value;
    }
  }

  async function applySteps(steps, caption) {
    for (const s of steps) {
      const r = parse(page.calc.set(s));
      refresh();
      await showWarnings(r, caption);
      if (r.ok === false) break;
    }
  }

  // ---- files ------------------------------------------------------------

  async function openFile(file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const r = parse(page.calc.open(bytes, file.name));
    relist();
    refresh();
    buildProfiles();
    if (r.ok === false) await messageBox('Open', r.error || 'The file could not be read.');
    setStatus(r.ok === false ? 'Not opened: ' + file.name : 'Opened ' + file.name);
  }

  // A saved project is named after its project name, as far as a file name
  // can hold it.
  function saveName() {
    let name = page.projectName;
    if (name === undefined) name = ((page.state && page.state.title) || '').replace(/^.*[\\/]/, '');
    name = String(name).replace(/\.cys$/i, '').replace(/[\\/:*?"<>|\x00-\x1f]/g, '_').trim();
    return (name || 'project') + '.cys';
  }

  function saveFile() {
    const bytes = page.calc.save();
    const blob = new Blob([bytes], { type: 'application/octet-stream' });
    const a = document.createElement('a');
    a.download = saveName();
    a.href = URL.createObjectURL(blob);
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
    refresh();
    setStatus('Saved ' + a.download);
  }

  function showSheet() {
    const view = $('sheet-view');
    view.hidden = false;
    const html = page.calc.sheetHtml();
    $('sheet-frame').srcdoc = html;
    // The same document for a tab of its own, from memory.
    const link = $('sheet-tab');
    if (link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
    link.href = URL.createObjectURL(new Blob([html], { type: 'text/html' }));
    view.scrollIntoView();
  }

  // ---- load cases ---------------------------------------------------------

  const CHECK_CAPTIONS = {
    shell: 'Shell',
    stiffener: 'Stiffener',
    column1: 'Column (1)',
    column2: 'Column (2)',
    ring_area: 'Ring frame area',
    ring_inertia: 'Ring frame inertia',
  };

  function runCases() {
    const text = $('cases-text').value;
    if (text.trim() === '') return;
    const t0 = performance.now();
    const out = page.calc.batch(text);
    const t1 = performance.now();
    // One JSON line a row, the summary last: only the rows the table draws are
    // read; the others are counted.
    const rows = [];
    let summary = null;
    let count = 0;
    const problems = [];
    for (let pos = 0; pos < out.length; ) {
      let end = out.indexOf('\n', pos);
      if (end < 0) end = out.length;
      if (end > pos) {
        if (out.charCodeAt(pos) !== 123) problems.push(out.slice(pos, end));
        else if (out.startsWith('{"summary"', pos)) summary = JSON.parse(out.slice(pos, end)).summary;
        else {
          if (rows.length < SHOWN_ROWS) rows.push(JSON.parse(out.slice(pos, end)));
          ++count;
        }
      }
      pos = end + 1;
    }
    if (problems.length && !rows.length) {
      $('cases-status').textContent = problems.join(' ');
      $('cases-table').textContent = '';
      $('cases-governing').textContent = '';
      return;
    }
    drawCases(rows, summary);
    page.timings.batch = { rows: count, run: t1 - t0, total: performance.now() - t0 };
    $('cases-status').textContent =
      (problems.length ? problems.join(' ') + ' ' : '') +
      count + ' rows in ' + Math.round(performance.now() - t0) + ' ms' +
      (count > SHOWN_ROWS ? ' (the first ' + SHOWN_ROWS + ' shown)' : '');
  }

  function fmt(x) {
    return typeof x === 'number' ? x.toFixed(3) : '';
  }

  function drawCases(rows, summary) {
    const checks = [];
    const keyOf = (o) => Object.keys(o).filter((k) => o[k] && typeof o[k] === 'object' && 'uf' in o[k]);
    for (const r of rows.slice(0, 50))
      for (const k of keyOf(r)) if (!checks.includes(k)) checks.push(k);
    if (summary && summary.checks)
      for (const k of Object.keys(summary.checks)) if (!checks.includes(k)) checks.push(k);

    const gov = $('cases-governing');
    gov.textContent = '';
    if (summary) {
      const ul = document.createElement('ul');
      for (const k of checks) {
        const c = summary.checks && summary.checks[k];
        if (!c) continue;
        const li = document.createElement('li');
        li.dataset.check = k;
        const over = c.uf > c.allow;
        li.innerHTML = '';
        li.append((CHECK_CAPTIONS[k] || k) + ': governing case ');
        const b = document.createElement('b');
        b.textContent = c.case !== undefined && c.case !== '' ? c.case : 'row ' + c.row;
        li.append(b, ' (row ' + c.row + '), UF ');
        const u = document.createElement('span');
        u.className = over ? 'nok' : 'ok';
        u.textContent = fmt(c.uf);
        li.append(u, ' of ' + c.allow);
        ul.appendChild(li);
      }
      const counts = document.createElement('li');
      counts.textContent =
        summary.rows + ' rows: ' + summary.passed + ' passed, ' + summary.failed + ' failed, ' +
        summary.faulted + ' faulted, ' + summary.input_errors + ' input errors';
      ul.appendChild(counts);
      gov.appendChild(ul);
    }

    const table = document.createElement('table');
    const head = document.createElement('tr');
    for (const h of ['Row', 'Case', ...checks.map((k) => CHECK_CAPTIONS[k] || k), 'Status']) {
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = h;
      head.appendChild(th);
    }
    const thead = document.createElement('thead');
    thead.appendChild(head);
    const tbody = document.createElement('tbody');
    for (const r of rows.slice(0, SHOWN_ROWS)) {
      const tr = document.createElement('tr');
      tr.dataset.row = r.row;
      const cells = [String(r.row), r.case !== undefined ? String(r.case) : ''];
      for (const c of cells) {
        const td = document.createElement('td');
        td.textContent = c;
        tr.appendChild(td);
      }
      for (const k of checks) {
        const td = document.createElement('td');
        td.dataset.check = k;
        const c = r[k];
        if (c && typeof c.uf === 'number') {
          td.textContent = fmt(c.uf);
          td.dataset.uf = String(c.uf);
          td.className = c.ok === false ? 'nok' : 'ok';
        }
        tr.appendChild(td);
      }
      const st = document.createElement('td');
      st.textContent = r.fault || r.error || r.status || '';
      tr.appendChild(st);
      tbody.appendChild(tr);
    }
    table.append(thead, tbody);
    const host = $('cases-table');
    host.textContent = '';
    host.appendChild(table);
  }

  // ---- start-up -----------------------------------------------------------

  function wire() {
    $('cmd-new').addEventListener('click', () => {
      page.calc.newProject();
      relist();
      refresh();
      buildProfiles();
      setStatus('New project');
    });
    $('file-open').addEventListener('change', (e) => {
      const f = e.target.files && e.target.files[0];
      if (f) openFile(f).finally(() => (e.target.value = ''));
    });
    $('cmd-save').addEventListener('click', saveFile);
    $('cmd-sheet').addEventListener('click', showSheet);
    $('cmd-print').addEventListener('click', () => {
      $('print-date').textContent = new Date().toLocaleString();
      window.print();
    });
    window.addEventListener('beforeprint', () => {
      $('print-date').textContent = new Date().toLocaleString();
    });
    $('cmd-cases').addEventListener('click', runCases);
    // A paste replaces the selection with the clipboard's text and runs the
    // table at once.
    $('cases-text').addEventListener('paste', (e) => {
      const text = e.clipboardData && e.clipboardData.getData('text/plain');
      if (!text) return;
      e.preventDefault();
      const ta = $('cases-text');
      ta.setRangeText(text, ta.selectionStart, ta.selectionEnd, 'end');
      runCases();
    });
    $('message').addEventListener('keydown', (e) => {
      if (e.key === 'Enter') {
        e.preventDefault();
        $('message').close('ok');
      }
    });
  }

  async function start() {
    const t0 = performance.now();
    const Orvane = await createOrvane();
    page.module = Orvane;
    page.calc = new Orvane.Calculator();
    page.inputs = parse(page.calc.inputs());
    for (const def of page.inputs) page.byName.set(def.name, def);
    takeLists();
    buildForm();
    wire();
    refresh();
    buildProfiles();
    $('print-date').textContent = new Date().toLocaleString();
    page.timings.ready = performance.now();
    page.timings.start = performance.now() - t0;
    setStatus('Ready');
    document.body.dataset.ready = '1';
  }

  start().catch((e) => {
    setStatus('The calculator could not start: ' + e);
    document.body.dataset.ready = 'error';
    console.error(e);
  });
})();
