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
    controls: new Map(), // name -> element
    rows: new Map(), // name -> the row element holding caption and control
    groups: new Map(), // group caption -> fieldset
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
  // it, caption and unit ("Shell thickness t [mm]").
  async function showWarnings(result, caption) {
    const list = (result && result.warnings) || [];
    for (const w of list) {
      const title = caption || w.title || document.title;
      await messageBox(title, typeof w === 'string' ? w : w.text);
    }
    if (result && result.error) await messageBox(caption, result.error);
  }

  // ---- the form ---------------------------------------------------------

  // The warning title of an input.
  function captionOf(def) {
    if (def.displayName) return def.displayName;
    const c = def.caption || def.name;
    return def.unit ? c + ' [' + def.unit + ']' : c;
  }

  // The field's label: the window's caption where the module gives one.
  function labelText(def) {
    return (def.label || def.caption || def.name).trim();
  }

  function choicesOf(def) {
    return Array.isArray(def.choices) ? def.choices : [];
  }

  function isList(def) {
    return def.kind === 'list' || (choicesOf(def).length > 0 && def.kind !== 'flag');
  }

  function groupFor(def) {
    const name = def.group || 'Inputs';
    let fs = page.groups.get(name);
    if (!fs) {
      fs = document.createElement('fieldset');
      fs.className = 'group';
      fs.dataset.group = name;
      const lg = document.createElement('legend');
      lg.textContent = name;
      fs.appendChild(lg);
      $('inputs').appendChild(fs);
      page.groups.set(name, fs);
    }
    return fs;
  }

  function buildForm() {
    const form = $('inputs');
    form.textContent = '';
    page.groups.clear();
    page.controls.clear();
    page.rows.clear();
    for (const def of page.inputs) {
      if (def.hidden || def.field === false) continue;
      const fs = groupFor(def);
      const row = document.createElement('div');
      row.className = 'field';
      row.dataset.name = def.name;
      const id = 'in-' + def.name;
      let control;
      if (def.kind === 'flag') {
        row.classList.add('flag');
        control = document.createElement('input');
        control.type = 'checkbox';
        control.id = id;
        const lab = document.createElement('label');
        lab.htmlFor = id;
        lab.textContent = labelText(def);
        row.append(control, lab);
        control.addEventListener('change', () => choose(def, control.checked ? 1 : 0, control));
      } else if (isList(def)) {
        const lab = document.createElement('label');
        lab.htmlFor = id;
        lab.textContent = labelText(def);
        control = document.createElement('select');
        control.id = id;
        choicesOf(def).forEach((c, i) => {
          const o = document.createElement('option');
          const value = typeof c === 'object' && c !== null ? c.value : i;
          o.value = String(value);
          o.textContent = typeof c === 'object' && c !== null ? c.label : String(c);
          control.appendChild(o);
        });
        row.append(lab, control);
        control.addEventListener('change', () => choose(def, Number(control.value), control));
        control.addEventListener('keydown', (e) => {
          if (e.key === 'Enter') {
            e.preventDefault();
            moveFocus(control, 1, def);
          }
        });
      } else {
        const lab = document.createElement('label');
        lab.htmlFor = id;
        lab.textContent = labelText(def);
        control = document.createElement('input');
        control.type = 'text';
        control.id = id;
        control.inputMode = 'decimal';
        control.spellcheck = false;
        control.className = 'number';
        row.append(lab, control);
        if (def.unit) {
          const u = document.createElement('span');
          u.className = 'unit';
          u.textContent = def.unit;
          row.appendChild(u);
        }
        control.addEventListener('keydown', (e) => onFieldKey(e, def, control));
        control.addEventListener('change', () => {
          if (isDirty(control)) commit(def, control, 0);
        });
      }
      control.name = def.name;
      control.dataset.name = def.name;
      page.controls.set(def.name, control);
      page.rows.set(def.name, row);
      fs.appendChild(row);
    }
    // The profile tables follow the inputs in the tab order.
  }

  function isDirty(control) {
    return control.value !== (control.dataset.shown || '');
  }

  function focusables() {
    return Array.from(document.querySelectorAll('#inputs input, #inputs select')).filter(
      (el) => !el.disabled && el.offsetParent !== null,
    );
  }

  // Enter goes to the input's successor as the window's Enter does (the first
  // one shown and enabled), else to the next field in field order.
  function moveFocus(control, dir, def) {
    if (dir === 0) return;
    if (dir > 0 && def && def.next) {
      for (const n of String(def.next).split('|')) {
        const el = page.controls.get(n);
        if (el && !el.disabled && el.offsetParent !== null) {
          el.focus();
          if (el.select) el.select();
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
    if (page.dialogOpen) return;
    if (e.key === 'Enter') {
      e.preventDefault();
      if (isDirty(control) || def.readsFirst) commit(def, control, 1, true);
      else moveFocus(control, 1, def);
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
    const t0 = performance.now();
    const result = parse(page.calc.type(def.name, control.value));
    refresh();
    page.timings.lastStep = performance.now() - t0;
    await showWarnings(result, captionOf(def));
    if (result.focusBack) {
      control.focus();
      control.select();
    } else if (dir !== 0) {
      moveFocus(control, dir, enter ? def : null);
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
    if (def.kind === 'flag') {
      control.checked = text === '1' || text === 'true';
    } else if (control.tagName === 'SELECT') {
      const byLabel = Array.from(control.options).find((o) => o.textContent === text);
      control.value = byLabel ? byLabel.value : text;
    } else if (document.activeElement !== control || !isDirty(control)) {
      control.value = text;
    }
    control.dataset.shown = text;
  }

  function refresh() {
    const st = parse(page.calc.state());
    page.state = st;
    const values = st.values || {};
    const enabled = st.enabled || {};
    const visible = st.visible || {};
    for (const def of page.inputs) {
      const control = page.controls.get(def.name);
      if (!control) continue;
      showValue(def, control, values[def.name]);
      control.disabled = enabled[def.name] === false;
      const row = page.rows.get(def.name);
      row.hidden = visible[def.name] === false;
      row.classList.toggle('disabled', control.disabled);
    }
    // A frame the mode does not use is hidden, as the window hides it.
    for (const fs of page.groups.values()) {
      const rows = Array.from(fs.querySelectorAll('.field'));
      fs.hidden = rows.length > 0 && rows.every((r) => r.hidden || r.classList.contains('disabled'));
    }
    const title = st.title || '';
    $('title').textContent = (title || 'Untitled') + (st.modified ? ' *' : '');
    $('print-title').textContent = title || 'Untitled';
    document.title = (title ? title + ' - ' : '') + 'Orvane DNV';
    const fault = $('fault');
    fault.hidden = !st.fault;
    fault.textContent = st.fault || '';
    drawPanels();
  }

  // ---- result panels ------------------------------------------------------

  // The panels' text: the window's face at 7.5 pt (10 px at 96 dpi). The module
  // lays the runs out with these widths; positions arrive in pixels.
  const PANEL_FONT = '10px "DejaVu Sans", sans-serif';
  const measureCanvas = document.createElement('canvas').getContext('2d');
  function measure(text, bold) {
    measureCanvas.font = (bold ? 'bold ' : '') + PANEL_FONT;
    return measureCanvas.measureText(text).width;
  }

  function drawPanels() {
    const panels = parse(page.calc.panels(measure));
    const host = $('panels');
    host.textContent = '';
    for (const p of panels) {
      const fs = document.createElement('section');
      fs.className = 'panel';
      fs.dataset.panel = p.id;
      const h = document.createElement('h3');
      h.textContent = p.title || p.id;
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
  }

  // ---- profiles -----------------------------------------------------------

  function buildProfiles() {
    const host = $('profiles');
    host.textContent = '';
    for (const which of ['stiffener', 'ring']) {
      let data;
      try {
        data = parse(page.calc.profiles(which));
      } catch (e) {
        continue;
      }
      const fs = document.createElement('fieldset');
      fs.className = 'group profile-member';
      fs.dataset.member = which;
      const lg = document.createElement('legend');
      lg.textContent = data.title || (which === 'ring' ? 'Ringframe profile' : 'Longitudinal stiffener');
      fs.appendChild(lg);
      for (const table of data.tables || []) {
        const row = document.createElement('div');
        row.className = 'field';
        const id = 'prof-' + which + '-' + table.name;
        const lab = document.createElement('label');
        lab.htmlFor = id;
        lab.textContent = table.title || table.name;
        const sel = document.createElement('select');
        sel.id = id;
        sel.dataset.set = table.set || table.input || '';
        const none = document.createElement('option');
        none.value = '';
        none.textContent = '—';
        sel.appendChild(none);
        (table.rows || []).forEach((r, i) => {
          const o = document.createElement('option');
          o.value = String(r.row !== undefined ? r.row : i);
          o.textContent = typeof r === 'string' ? r : r.designation;
          sel.appendChild(o);
        });
        sel.addEventListener('change', () => {
          if (sel.value === '') return;
          const steps = [];
          if (table.type !== undefined && data.typeInput) steps.push(data.typeInput + '=' + table.type);
          steps.push(sel.dataset.set + '=' + sel.value);
          applySteps(steps, lab.textContent);
        });
        row.append(lab, sel);
        fs.appendChild(row);
      }
      for (const b of data.builtUp || []) {
        const sub = document.createElement('fieldset');
        sub.className = 'builtup';
        const l2 = document.createElement('legend');
        l2.textContent = b.title || b.name;
        sub.appendChild(l2);
        for (const dim of b.dims || b.fields || []) {
          const row = document.createElement('div');
          row.className = 'field';
          const id = 'prof-' + dim.name;
          const lab = document.createElement('label');
          lab.htmlFor = id;
          lab.textContent = dim.caption || dim.name;
          const inp = document.createElement('input');
          inp.type = 'text';
          inp.id = id;
          inp.className = 'number';
          inp.value = dim.value !== undefined ? String(dim.value) : '';
          inp.dataset.shown = inp.value;
          inp.addEventListener('change', () => {
            const steps = [];
            if (b.type !== undefined && data.typeInput) steps.push(data.typeInput + '=' + b.type);
            steps.push(dim.name + '=' + inp.value.trim());
            applySteps(steps, lab.textContent);
          });
          row.append(lab, inp);
          if (dim.unit) {
            const u = document.createElement('span');
            u.className = 'unit';
            u.textContent = dim.unit;
            row.appendChild(u);
          }
          sub.appendChild(row);
        }
        fs.appendChild(sub);
      }
      host.appendChild(fs);
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
    refresh();
    buildProfiles();
    if (r.ok === false) await messageBox('Open', r.error || 'The file could not be read.');
    setStatus(r.ok === false ? 'Not opened: ' + file.name : 'Opened ' + file.name);
  }

  function saveFile() {
    const bytes = page.calc.save();
    const blob = new Blob([bytes], { type: 'application/octet-stream' });
    const a = document.createElement('a');
    const title = (page.state && page.state.title) || 'Untitled';
    a.download = title + '.cys';
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
    $('sheet-frame').srcdoc = page.calc.sheetHtml();
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
    const rows = [];
    let summary = null;
    for (const line of out.split('\n')) {
      if (line.trim() === '') continue;
      const o = JSON.parse(line);
      if (o.summary) summary = o.summary;
      else rows.push(o);
    }
    drawCases(rows, summary);
    page.timings.batch = { rows: rows.length, run: t1 - t0, total: performance.now() - t0 };
    $('cases-status').textContent =
      rows.length + ' rows in ' + Math.round(performance.now() - t0) + ' ms' +
      (rows.length > SHOWN_ROWS ? ' (the first ' + SHOWN_ROWS + ' shown)' : '');
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
    buildForm();
    wire();
    refresh();
    buildProfiles();
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
