-- A product database for the demo and the tests: the form tables the importer writes, the screening
-- codes it checks, and the icon table. Run in SQL dialect 1 on a fresh database.
-- Primary keys are declared without a constraint name: the importer finds key columns through the
-- indexes the server names RDB$PRIMARYn, and a named constraint would name its index after itself.

CREATE TABLE advform (
  formid            INTEGER NOT NULL,
  formname          VARCHAR(60) NOT NULL,
  publishcode       CHAR(1),
  formversion       SMALLINT NOT NULL,
  status            CHAR(2) NOT NULL,
  category          VARCHAR(30),
  publishdate       TIMESTAMP,
  reviewdate        TIMESTAMP NOT NULL,
  scorefactor       DOUBLE PRECISION,
  billacholderid    INTEGER,
  submithlinkfolder VARCHAR(120),
  instructions      VARCHAR(1000),
  layout            BLOB SUB_TYPE 0,
  helptext          BLOB SUB_TYPE 1,
  PRIMARY KEY (formid)
);

CREATE TABLE afitem (
  formid     INTEGER NOT NULL,
  itemno     SMALLINT NOT NULL,
  caption    VARCHAR(80) NOT NULL,
  itemtype   CHAR(1),
  obscode    VARCHAR(20),
  lowlimit   DOUBLE PRECISION,
  highlimit  DOUBLE PRECISION,
  PRIMARY KEY (formid, itemno)
);

CREATE TABLE afcomboactions (
  formid     INTEGER NOT NULL,
  itemno     SMALLINT NOT NULL,
  actionno   SMALLINT NOT NULL,
  combotext  VARCHAR(40) NOT NULL,
  gotoitem   SMALLINT,
  PRIMARY KEY (formid, itemno, actionno)
);

CREATE TABLE dictobservation (
  obscode      VARCHAR(20) NOT NULL,
  description  VARCHAR(80) NOT NULL,
  units        CHAR(10),
  normallow    DOUBLE PRECISION,
  normalhigh   DOUBLE PRECISION,
  mapscncode   VARCHAR(10),
  mapvalueno   INTEGER,
  lastchanged  TIMESTAMP,
  notes        BLOB SUB_TYPE 1,
  PRIMARY KEY (obscode)
);

CREATE TABLE dictcombo (
  obscode    VARCHAR(20) NOT NULL,
  comboseq   SMALLINT NOT NULL,
  combotext  VARCHAR(60) NOT NULL,
  PRIMARY KEY (obscode, comboseq)
);

CREATE TABLE conceptmap (
  conceptid           INTEGER NOT NULL,
  conceptname         VARCHAR(80) NOT NULL,
  maptoscncode        VARCHAR(10),
  maptoscnvalueno     INTEGER,
  maptovalueno        INTEGER,
  maptoscncodealt     VARCHAR(10),
  maptoscnvaluenoalt  INTEGER,
  maptovaluenoalt     INTEGER,
  PRIMARY KEY (conceptid)
);

CREATE TABLE conceptvaluemap (
  conceptid  INTEGER NOT NULL,
  valueno    SMALLINT NOT NULL,
  valuetext  VARCHAR(60),
  PRIMARY KEY (conceptid, valueno)
);

CREATE TABLE afpicklist (
  pickid     INTEGER NOT NULL,
  picktext   VARCHAR(60) NOT NULL,
  sortorder  SMALLINT,
  weight     DOUBLE PRECISION,
  changed    TIMESTAMP,
  PRIMARY KEY (pickid)
);

CREATE TABLE screening (
  scncode      VARCHAR(10) NOT NULL,
  description  VARCHAR(60),
  rowinactive  SMALLINT NOT NULL,
  PRIMARY KEY (scncode)
);

CREATE TABLE QVICONS (
  ICONKEY   VARCHAR(15) NOT NULL,
  ICONBLOB  BLOB SUB_TYPE 0,
  PRIMARY KEY (ICONKEY)
);

INSERT INTO screening (scncode, description, rowinactive) VALUES ('HT', 'Hypertension', 0);
INSERT INTO screening (scncode, description, rowinactive) VALUES ('HE', 'Hypertension (extended)', 1);
INSERT INTO screening (scncode, description, rowinactive) VALUES ('WE', 'Weight (extended)', 0);
INSERT INTO screening (scncode, description, rowinactive) VALUES ('MAM', 'Mammography', 1);
INSERT INTO screening (scncode, description, rowinactive) VALUES ('CHOL', 'Cholesterol', 0);
INSERT INTO screening (scncode, description, rowinactive) VALUES ('OLD', 'Retired screening', 1);
