# The German language pack setup. It finds the Vantrel installation the pack
# belongs to, offers the pack, Lexwiz and its help as components and settles
# the target folder. Its wizard dialogs and installation statements join as
# the dialog runtime and the native engine arrive.
@title |Pellion
@publisher |Brennic Ltd.
@version |2.0.47
@product-code |{6B8125B1-8560-4919-BC49-5544BF0EFA68}
@revision-code |{3EDCCA79-A858-4303-9BCF-1D96429E97D7}
@default-language |English
@component-size |QUAV-PREDEF-COMPONENT
  |3980640
@component-size |German Language Pack
  |1261568
@component-size |Lexwiz
  |402944
@component-size |Lexwiz\Help
  |61440

Comment
  |German language pack for Vantrel setups

# The pack goes where Vantrel's plug-ins are; without Vantrel it still
# installs, into the engine's default target folder.
Read Registry
  |VANTRELDIR
  |2
  |SOFTWARE\Dorvane\Vantrel\2.0\Plug-Ins\Language Packs
  |Path
If
  |VANTRELDIR
  |0
  |
  |TRUE
  Set Variable
    |TARGETDIR
    |$VANTRELDIR$
End

Define Component
  |German Language Pack
  |TRUE
  |The German translations of the Vantrel wizard pages and script texts.
Define Component
  |Lexwiz
  |TRUE
  |The wizard that pre-translates a setup's translation project.
Define Component
  |Lexwiz\Help
  |TRUE
  |The wizard's help file.
Set Component Choice
  |German Language Pack
  |FALSE
Get Component Space
  |
  |SPACEREQUIRED
